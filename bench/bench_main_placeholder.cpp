// Benchmarks are grouped one file per subsystem in this folder; each reports its figures
// as ratios against a baseline measured in the same run (memcpy of the same bytes).

// The specialised dab loop. Per dab it picks one instantiation by the coverage gates (grit,
// texture, mask, rotation), the mix, the working-colour branch and the write protections;
// each row first computes the coverage of every footprint column, then mixes the covered
// pixels with arithmetic only.
#include <vector>

#include "brush/dab_internal.h"

namespace orv::dab {

namespace {

using CoverageFn = void (*)(const Dab&, int32_t py, int32_t sr, uint32_t* v, int32_t* idx);
using MixRowFn = void (*)(Dab&, uint16_t* row, const uint32_t* v, const int32_t* idx);

// Coverage of every footprint column of a row; 0 marks a skipped pixel.
template <bool Grit, bool Texture, bool Mask, bool Rotate>
void coverageRow(const Dab& d, int32_t py, int32_t sr, uint32_t* v, int32_t* idx) {
    const int32_t count = d.pxEnd - d.pxBegin;
    const size_t pix0 = static_cast<size_t>(py) * d.W + d.pxBegin;
    const uint8_t* tex = Texture ? d.texture + pix0 : nullptr;
    const uint16_t* mask = Mask ? d.mask + pix0 : nullptr;
    for (int32_t j = 0; j < count; ++j) {
        const int32_t i = shapeIndex(d, j, sr, Rotate);
        idx[j] = i;
        v[j] = 0;
        if (i < 0) continue;
        if (Grit && d.grit[i] > d.density) continue;
        uint32_t c = d.shape[i];
        if (d.alphaScale) c = (c * d.alphaFactor) >> 7;
        if (Texture && tex[j] < 255) c = (c * tex[j]) >> 8;
        if (Mask && mask[j] < 65535) c = (c * mask[j]) >> 16;
        if (c != 0 && d.solid) c = 65535;
        v[j] = c;
    }
}

template <class Mix, bool Pickup, bool Plain>
void mixRow(Dab& d, uint16_t* row, const uint32_t* v, const int32_t* idx) {
    const int32_t count = d.pxEnd - d.pxBegin;
    uint16_t* p = row + static_cast<size_t>(d.pxBegin) * 4;
    for (int32_t j = 0; j < count; ++j, p += 4) {
        uint32_t c = v[j];
        if (c == 0) continue;
        uint32_t w[4];
        workingColour<Pickup>(d, idx[j], c, w);
        const uint32_t ad = p[3];
        Mixed m;
        Mix::mix(d, c, w, p, m);
        if (Pickup && d.remix) remixInto(d, idx[j], w, m, ad);
        if (Plain) {
            p[0] = static_cast<uint16_t>(m.c[0]);
            p[1] = static_cast<uint16_t>(m.c[1]);
            p[2] = static_cast<uint16_t>(m.c[2]);
            p[3] = static_cast<uint16_t>(m.a);
        } else {
            writeProtected(d, p, m, ad);
        }
    }
}

template <bool G, bool T, bool M>
CoverageFn pickCoverage3(bool rotate) {
    return rotate ? coverageRow<G, T, M, true> : coverageRow<G, T, M, false>;
}
template <bool G, bool T>
CoverageFn pickCoverage2(bool mask, bool rotate) {
    return mask ? pickCoverage3<G, T, true>(rotate) : pickCoverage3<G, T, false>(rotate);
}
template <bool G>
CoverageFn pickCoverage1(bool texture, bool mask, bool rotate) {
    return texture ? pickCoverage2<G, true>(mask, rotate) : pickCoverage2<G, false>(mask, rotate);
}
CoverageFn pickCoverage(const Dab& d) {
    return d.grit ? pickCoverage1<true>(d.texture, d.mask, d.rotate) : pickCoverage1<false>(d.texture, d.mask, d.rotate);
}

template <class Mix>
MixRowFn pickMixRow(const Dab& d) {
    const bool plain = d.plainWrite();
    if (d.pickup) return plain ? mixRow<Mix, true, true> : mixRow<Mix, true, false>;
    return plain ? mixRow<Mix, false, true> : mixRow<Mix, false, false>;
}

MixRowFn pickMix(const Dab& d) {
    MixRowFn fn = nullptr;
    auto take = [&](auto mode) { fn = pickMixRow<decltype(mode)>(d); };
    if (!d.high || !visitHighMode(d.mode, take)) visitLowMode(d, take);
    return fn;
}

}  // namespace

void paintFast(Dab& d) {
    const int32_t count = d.pxEnd - d.pxBegin;
    if (count <= 0) {  // rows without columns still move the variation cursors
        for (int32_t py = d.pyBegin; py < d.pyEnd; ++py) {
            d.colorVary.startRow(*d.rnd, d.N, d.B);
            d.lumVary.startRow(*d.rnd, d.N, d.B);
        }
        return;
    }
    const CoverageFn coverage = pickCoverage(d);
    const MixRowFn mixer = pickMix(d);
    thread_local std::vector<uint32_t> v;
    thread_local std::vector<int32_t> idx;
    if (v.size() < static_cast<size_t>(count)) v.resize(count), idx.resize(count);
    for (int32_t py = d.pyBegin, k = d.k0; py < d.pyEnd; ++py, ++k) {
        const int32_t sr = d.scale[k];
        d.colorVary.startRow(*d.rnd, d.N, d.B);
        d.lumVary.startRow(*d.rnd, d.N, d.B);
        coverage(d, py, sr, v.data(), idx.data());
        mixer(d, d.target + static_cast<size_t>(py) * d.stride, v.data(), idx.data());
    }
}

}  // namespace orv::dab

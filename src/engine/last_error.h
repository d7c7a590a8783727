// The last-error text: 512 characters, the last always 0. Nothing clears it; a success
// leaves the previous failure in place.
#pragma once
#include <cstring>
#include <exception>
#include <new>

namespace orv {

struct LastError {
    char text[512] = {};

    // Copies at most 511 characters, zero-filling the rest of the first 511; the final
    // character is never written.
    void set(const char* s) noexcept {
        if (!s) s = "";
        std::strncpy(text, s, sizeof(text) - 1);
    }
};

// Raised inside an operation when a step reports its own text (e.g. the brush-shape step of
// the tool setter); the export guard uses the carried text in place of its own.
struct StepFailure : std::exception {
    const char* text;
    explicit StepFailure(const char* t) noexcept : text(t) {}
    const char* what() const noexcept override { return text; }
};

// Runs one step of a larger operation; on failure reports the step's text and lets the
// operation continue. Returns false when the step failed.
template <class F>
bool tryStep(LastError& err, const char* text, F&& step) noexcept {
    try {
        step();
        return true;
    } catch (const StepFailure& f) {
        err.set(f.text);
    } catch (...) {
        err.set(text);
    }
    return false;
}

// Runs one step; on failure converts it into a StepFailure carrying the step's text so the
// whole operation ends with that report.
template <class F>
decltype(auto) failAs(const char* text, F&& step) {
    try {
        return step();
    } catch (const StepFailure&) {
        throw;
    } catch (...) {
        throw StepFailure(text);
    }
}

}  // namespace orv

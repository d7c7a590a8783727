// The guard every exported entry point runs its body in. It is the only code that writes
// the last-error text: a failure (a failed allocation, any exception) sets the operation's
// fixed text, or the text a failing step carried, and the entry point returns its default
// result. Nothing is ever thrown to the host; success leaves the last-error text alone.
#pragma once
#include <type_traits>

#include "engine/engine_state.h"
#include "engine/error_texts.h"
#include "../../../include/orvcore.h"

namespace orv {

// errText null: the operation reports nothing on failure.
template <class R, class F>
R guarded(const char* errText, R fallback, F&& body) noexcept {
    try {
        return body();
    } catch (const StepFailure& f) {
        engine().lastError.set(f.text);
    } catch (...) {
        if (errText) engine().lastError.set(errText);
    }
    return fallback;
}

template <class F>
void guarded(const char* errText, F&& body) noexcept {
    try {
        body();
    } catch (const StepFailure& f) {
        engine().lastError.set(f.text);
    } catch (...) {
        if (errText) engine().lastError.set(errText);
    }
}

}  // namespace orv

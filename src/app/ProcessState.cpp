#include "app/ProcessState.h"

namespace qinglan::app {

namespace {
ProcessState* installed = nullptr; // by the innermost ProcessStateScope
} // namespace

ProcessState& processState() {
    if (installed) return *installed;
    static ProcessState state;
    return state;
}

ProcessStateScope::ProcessStateScope() : previous_(installed) {
    installed = &state_;
}

ProcessStateScope::~ProcessStateScope() {
    installed = previous_;
}

} // namespace qinglan::app

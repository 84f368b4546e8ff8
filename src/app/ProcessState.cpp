#include "app/ProcessState.h"

namespace qinglan::app {

ProcessState& processState() {
    static ProcessState state;
    return state;
}

} // namespace qinglan::app

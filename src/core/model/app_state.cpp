#include "core/model/app_state.h"

namespace karvex {

AppState& State()
{
    static AppState state;
    return state;
}

} // namespace karvex

#include "toolkit/GlobalState.h"

#include <QtGlobal>

namespace {
GlobalState *currentState = nullptr;
}

GlobalState::GlobalState()
    : m_previous(currentState)
{
    currentState = this;
}

GlobalState::~GlobalState()
{
    currentState = m_previous;
}

GlobalState &GlobalState::current()
{
    Q_ASSERT_X(currentState, "GlobalState::current", "no global state record exists");
    return *currentState;
}

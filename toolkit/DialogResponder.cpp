#include "toolkit/DialogResponder.h"

namespace {
DialogResponder *installedResponder = nullptr;
}

DialogResponder::DialogResponder()
    : m_previous(installedResponder)
{
    installedResponder = this;
}

DialogResponder::~DialogResponder()
{
    installedResponder = m_previous;
}

DialogResponder *DialogResponder::installed()
{
    return installedResponder;
}

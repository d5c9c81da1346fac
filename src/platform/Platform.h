#pragma once

#include "platform/AppIdentity.h"
#include "platform/EventYield.h"
#include "platform/LocaleInfo.h"
#include "platform/MessageBox.h"
#include "platform/SearchLock.h"
#include "platform/Shell.h"
#include "platform/TextFiles.h"
#include "platform/UrlFetch.h"
#include "platform/WindowControls.h"

namespace vendra {

// Everything the logic needs from the desktop. The program passes the real ports; tests pass fakes.
struct Platform {
    WindowControls& controls;
    EventYield& events;
    MessageBox& messages;
    UrlFetch& fetch;
    TextFiles& files;
    Shell& shell;
    AppIdentity& identity;
    LocaleInfo& locale;
    SearchLock& searchLock;
};

}  // namespace vendra

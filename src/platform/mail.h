#pragma once
// Hands one message to the desktop's mail program: recipient, subject, body and an
// optional attachment, through xdg-email (every field passed as its own argument),
// or a mailto: address when xdg-email is missing.
//
// xdg-email ends with a failure status when it finds no mail program or the one it
// found fails; a mail program that keeps it waiting while the user writes is taken
// as started once kMailProgramWaitMs have passed, and left to run.
#include "platform/notice.h"

#include <QString>

#include <functional>

namespace rr
{

inline constexpr int kMailProgramWaitMs = 5000;

// True when the mail program took the message. notice gets what the user is to be
// told: on failure "There was an error logging in to e-mail messaging program."
// (critical icon); when a mailto: address carried the text, where the attachment is.
// whileWaiting is called about every 50 ms while xdg-email runs (the window may
// repaint meanwhile).
bool SendMAPIMail(const QString &recipient, bool option, const QString &unused, const QString &subject,
                  const QString &body, const QString &attachment, const std::function<void()> &whileWaiting = {},
                  Notice *notice = nullptr);

// The mailto: address with every field percent-encoded.
QString mailtoAddress(const QString &recipient, const QString &subject, const QString &body);

} // namespace rr

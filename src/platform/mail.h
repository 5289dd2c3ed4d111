#pragma once
// Hands one message to the desktop's mail program: recipient, subject, body and an
// optional attachment, through xdg-email (every field passed as its own argument),
// or a mailto: address when xdg-email is missing.
#include <QString>

namespace rr {

// True when a mail program was started. On failure the user is told
// "There was an error logging in to e-mail messaging program."
bool SendMAPIMail(const QString &recipient, bool option, const QString &unused, const QString &subject,
                  const QString &body, const QString &attachment);

// The mailto: address with every field percent-encoded.
QString mailtoAddress(const QString &recipient, const QString &subject, const QString &body);

}  // namespace rr

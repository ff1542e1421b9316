#pragma once

#include "core/Account.h"

#include <QUrl>
#include <optional>

// Where "Open dashboard" leads: the account's page on its platform's own
// web dashboard (the sandbox or test-mode one for a test account).
namespace Dashboard {
// None when the account's address cannot make a page (a bad shop address).
std::optional<QUrl> url(const Account &account);
// Framer's analytics page for the user's templates.
QUrl framer();
}

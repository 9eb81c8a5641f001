#pragma once

#include <QString>

// Where the password of user postgres comes from: the suite's setting Database/Password (organisation
// "Corvane", application "Trevalo") first; without it libpq's own sources (PGPASSWORD, the password
// file); and when those hold none either, the suite's default, with which its servers are set up.
// The password is handed to libpq only: never printed, logged or put in a message.
namespace DatabasePassword {

QString configured();
QString suiteDefault();

} // namespace DatabasePassword

#pragma once

#include <QDate>
#include <QDateTime>

class RegisterDatabase;

// "register retry": the new attempts for the payments not made with a payment day in from..to
// (either bound invalid for none) as a document in the form of "read", on standard output; the
// payments left out, and why, on standard error. Returns the exit status.
int RunRegisterRetry(const RegisterDatabase& database, const QDate& from, const QDate& to, const QDateTime& now);

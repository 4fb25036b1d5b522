#pragma once

#include <QString>

#include <functional>

class QWidget;
class UserPrompt;

// Fills a register in folder with a small payee's month (mandates, payments and the bank's answer)
// and hands the register window, with a failed payment selected, to shoot.
bool ShootRegisterWindow(const QString& folder, UserPrompt& prompt,
                         const std::function<void(QWidget&, const QString&)>& shoot);

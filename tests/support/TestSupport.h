#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Each test program keeps its settings in a temporary folder, never in the user's own store.
class TestEnvironment
{
public:
    TestEnvironment();
    // A fresh, empty settings store (call in a test's SetUp).
    void resetSettings();
    QString settingsFolder() const { return m_settings.path(); }
    static TestEnvironment& instance();

private:
    QTemporaryDir m_settings;
};

QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);

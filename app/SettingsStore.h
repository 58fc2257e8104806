#pragma once

#include "app/shared/Outcome.h"

#include <QString>

#include <memory>
#include <optional>

class QSettings;

// The per-user settings: text values under the application "Quillmark" and the section
// "Toviska". A write is on disk when SaveSetting returns.
class SettingsStore
{
public:
    // The store at the user's own settings location.
    SettingsStore();
    // The store in a given file (tests, never the real user's settings).
    explicit SettingsStore(const QString &filePath);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString fileName() const;

    // The stored text, or defaultValue when the key is absent.
    QString GetSetting(const QString &key, const QString &defaultValue) const;
    Outcome SaveSetting(const QString &key, const QString &value);

    // "True"/"False" in any letter case, or a number (0 off, anything else on);
    // nothing for any other text.
    static std::optional<bool> toOnOff(const QString &text);
    static QString onOffText(bool on);
    // Reads an option key through toOnOff; a text that does not convert is a type-mismatch failure.
    Outcome readOnOff(const QString &key, bool defaultOn, bool &on) const;

private:
    std::unique_ptr<QSettings> m_settings;
};

#include "app/SettingsStore.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <QVariant>

// The store is an ini file: ~/.config/Quillmark.ini for the user ($XDG_CONFIG_HOME when set),
// every key in its [Toviska] section. A file that cannot be read or parsed is no failure: reads
// find what lines they can and fall back to the caller's defaults, and the next save rewrites
// the file in sound form (QSettings writes through a temporary file and renames it, so a
// failed save leaves the old file whole). A save that cannot write is reported.
namespace {
const auto kApplication = QStringLiteral("Quillmark");
const auto kSection = QStringLiteral("Toviska");

QString keyInSection(const QString &key)
{
    return kSection + QLatin1Char('/') + key;
}

// The user's own file alone: a system-wide Quillmark.ini ($XDG_CONFIG_DIRS) must not stand in
// for the caller's default of a key the user never stored.
std::unique_ptr<QSettings> userOnly(std::unique_ptr<QSettings> settings)
{
    settings->setFallbacksEnabled(false);
    return settings;
}

std::unique_ptr<QSettings> settingsIn(const QString &filePath)
{
    return userOnly(std::make_unique<QSettings>(filePath, QSettings::IniFormat));
}

// QSettings keeps the first error it meets for good: a file read with one malformed line stays
// at FormatError, a failed write after it goes unseen, and a store rebuilt over a change still
// pending (which it tries to write as it opens) stays at AccessError after the file is writable
// again. So the object's status tells only of an error it had not met before the save; beyond
// that a fresh object on the same file decides: it shares the change still pending and tries to
// write it again as it opens, with a status of its own.
bool writeFailed(const QSettings &settings, QSettings::Status before)
{
    if (before != QSettings::AccessError && settings.status() == QSettings::AccessError)
        return true;
    const QSettings probe(settings.fileName(), QSettings::IniFormat);
    return probe.status() == QSettings::AccessError;
}
} // namespace

SettingsStore::SettingsStore()
    : m_settings(userOnly(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, kApplication)))
{ }

SettingsStore::SettingsStore(const QString &filePath)
    : m_settings(settingsIn(filePath))
{ }

SettingsStore::~SettingsStore() = default;

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

QString SettingsStore::GetSetting(const QString &key, const QString &defaultValue) const
{
    const QString fullKey = keyInSection(key);
    if (!m_settings->contains(fullKey))
        return defaultValue;
    const QVariant value = m_settings->value(fullKey);
    // A hand-edited line with unquoted commas reads back as a list; keep it as the one text it was.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

Outcome SettingsStore::SaveSetting(const QString &key, const QString &value)
{
    const QString fullKey = keyInSection(key);
    const bool wasStored = m_settings->contains(fullKey);
    const QVariant stored = m_settings->value(fullKey);
    const QSettings::Status before = m_settings->status();
    m_settings->setValue(fullKey, value);
    m_settings->sync();
    if (writeFailed(*m_settings, before)) {
        const QString file = m_settings->fileName();
        // Qt caches a file's unsaved changes beyond the QSettings object, and a new one on the
        // same (readable) file takes them over: put back what was stored before letting go.
        if (wasStored)
            m_settings->setValue(fullKey, stored);
        else
            m_settings->remove(fullKey);
        // QSettings keeps the unsaved value and reports its first error for good: start afresh
        // from the file, so reads show what is really stored and later writes are judged on
        // their own. The old object must go first, or the new one shares its unsaved value.
        m_settings.reset();
        m_settings = settingsIn(file);
        return Outcome::failure(
            QStringLiteral("The setting %1 could not be saved: the settings file %2 cannot be written.")
                .arg(key, file));
    }
    return {};
}

std::optional<bool> SettingsStore::toOnOff(const QString &text)
{
    const QString trimmed = text.trimmed();
    // Lower-casing, not case folding: folding would also take "falſe" (long s) for "false".
    const QString lower = trimmed.toLower();
    if (lower == QLatin1String("true"))
        return true;
    if (lower == QLatin1String("false"))
        return false;
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    // Any digit other than 0 makes the number non-zero, however long it is.
    for (const QChar c : trimmed) {
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
            return true;
    }
    return false;
}

QString SettingsStore::onOffText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

Outcome SettingsStore::readOnOff(const QString &key, bool defaultOn, bool &on) const
{
    const std::optional<bool> value = toOnOff(GetSetting(key, defaultOn ? QStringLiteral("1") : QStringLiteral("0")));
    if (!value)
        return Outcome::failure(QStringLiteral("Type mismatch"));
    on = *value;
    return {};
}

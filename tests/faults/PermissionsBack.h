#pragma once

#include <QFile>
#include <QString>

// Makes a folder writable again however the test ends, so that it can be removed.
class PermissionsBack
{
public:
    explicit PermissionsBack(QString folder)
        : m_folder(std::move(folder))
    { }
    ~PermissionsBack()
    {
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    PermissionsBack(const PermissionsBack &) = delete;
    PermissionsBack &operator=(const PermissionsBack &) = delete;

private:
    QString m_folder;
};

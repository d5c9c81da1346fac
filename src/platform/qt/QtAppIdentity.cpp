#include "platform/qt/QtAppIdentity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "Version.h"
#include "platform/TextFiles.h"

namespace vendra {
namespace {

constexpr const char* kInstructions = "/instructions.htm";

QString WithoutTrailingSeparator(const QString& folder) {
    return QDir::cleanPath(QDir(folder).absolutePath());
}

}  // namespace

QtAppIdentity::QtAppIdentity()
    : QtAppIdentity(QCoreApplication::applicationDirPath(),
                    QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) {}

QtAppIdentity::QtAppIdentity(QString programFolder, QString perUserFolder, WritableTest writable)
    : programFolder_(WithoutTrailingSeparator(programFolder)),
      perUserFolder_(WithoutTrailingSeparator(perUserFolder)),
      writable_(std::move(writable)) {}

bool QtAppIdentity::IsWritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

std::string QtAppIdentity::prepareFolder() {
    const bool installed = Installed();
    const QString folder =
        !installed && writable_(programFolder_) ? programFolder_ : perUserFolder_;
    if (folder == perUserFolder_ &&
        (!QDir().mkpath(perUserFolder_) || !writable_(perUserFolder_))) {
        const QString tried =
            installed ? perUserFolder_ : programFolder_ + " and " + perUserFolder_;
        throw FileError(FileError::Kind::Access, "No folder can hold the working files: " +
                                                     tried.toStdString() + " cannot be written");
    }
    CopyInstructions(folder);
    return folder.toStdString();
}

QString QtAppIdentity::InstalledHelpPage() const {
    return QDir::cleanPath(programFolder_ + "/" + build::kInstalledHelpFolder + kInstructions);
}

bool QtAppIdentity::Installed() const {
    return !QFileInfo(programFolder_ + kInstructions).isFile() &&
           QFileInfo(InstalledHelpPage()).isFile();
}

QString QtAppIdentity::HelpPage() const {
    // Beside the program in the build tree; in the data folder once installed.
    const QString beside = programFolder_ + kInstructions;
    return QFileInfo(beside).isFile() ? beside : InstalledHelpPage();
}

void QtAppIdentity::CopyInstructions(const QString& folder) const {
    const QFileInfo source(HelpPage());
    const QString target = folder + kInstructions;
    if (source.absoluteFilePath() == QFileInfo(target).absoluteFilePath()) return;
    if (!source.isFile()) return;
    const QFileInfo copy(target);
    if (copy.isFile() && copy.lastModified() == source.lastModified() &&
        copy.size() == source.size())
        return;
    QFile::remove(target);
    if (!QFile::copy(source.filePath(), target)) return;
    // The copy carries the source's time, so a later change of the program's page shows.
    QFile written(target);
    if (written.open(QIODevice::ReadWrite))
        written.setFileTime(source.lastModified(), QFileDevice::FileModificationTime);
}

std::string QtAppIdentity::title() const { return build::kTitle; }

Version QtAppIdentity::version() const {
    return {build::kVersionMajor, build::kVersionMinor, build::kVersionRevision};
}

}  // namespace vendra

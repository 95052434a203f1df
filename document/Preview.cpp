// Preview: the batch file run by COMSPEC's interpreter or, on a system without one, by DOSBox.
#include "Preview.h"

#include "model/BatchFile.h"
#include "model/Rules.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/ProcessService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace vl
{

namespace
{

// Given to DOSBox instead of any settings file it would look for, so that it neither reads nor
// writes the user's own (it writes a default one where none exists) nor reads a dosbox.conf that
// happens to lie in the configuration's folder.
const char kDosBoxSettings[] = "# Settings of VLConfig's Preview; DOSBox's defaults apply.\n[dosbox]\n";

void ShowCannotStart(const QString& interpreter)
{
    platform::ShowMessage(QStringLiteral("Unable to start the command interpreter %1.").arg(interpreter));
}

} // namespace

void RunPreview(const QString& configPath, QWidget* window)
{
    const bool saved = !configPath.isEmpty();
    // The batch file names the configuration without a folder, so it runs in the configuration's folder.
    const QString folder = saved ? QFileInfo(configPath).absolutePath() : platform::CurrentDirectory();
    const QString batchPath = saved ? QFile::decodeName(QByteArray::fromStdString(
                                          BatchPathFor(QFile::encodeName(configPath).toStdString())))
                                    : QString();

    const QString comspec = qEnvironmentVariable("COMSPEC");
    if (!comspec.isEmpty()) {
        QStringList arguments{QStringLiteral("/c")};
        if (saved)
            arguments.append(batchPath);
        if (!platform::Processes().Run(comspec, arguments, folder, window).started)
            ShowCannotStart(comspec);
        return;
    }

    const QString dosbox = QStandardPaths::findExecutable(QStringLiteral("dosbox"));
    if (dosbox.isEmpty()) {
        platform::ShowMessage(
            QStringLiteral("Unable to find DOSBox to run the batch file.\nInstall the Debian "
                           "package dosbox, or set COMSPEC to the command interpreter to use."));
        return;
    }
    // The batch file's name goes through DOS's command line, which takes apart what Save refuses.
    const QString configName = platform::FileNameOf(configPath);
    if (saved) {
        const std::string problem = rules::ConfigFileNameProblem(configName.toStdString());
        if (!problem.empty()) {
            platform::ShowMessage(QString::fromStdString(problem));
            return;
        }
    }
    QTemporaryFile settings(QDir::tempPath() + QStringLiteral("/vlconfig-dosbox-XXXXXX.conf"));
    if (!settings.open() || settings.write(kDosBoxSettings) < 0 || !settings.flush()) {
        ShowCannotStart(dosbox);
        return;
    }
    QStringList arguments{QStringLiteral("-conf"), settings.fileName()};
    if (saved) {
        // DOSBox starts in the configuration's folder and mounts it as ".": its MOUNT command has no
        // way to quote a '"' in a folder name, and its start-up commands expand '%', so the folder's
        // own name never passes through DOS's command line. DOS finds the batch file whatever the
        // letter case of its name; CALL brings it back to EXIT, which ends DOSBox.
        arguments << QStringLiteral("-c") << QStringLiteral("MOUNT C .") << QStringLiteral("-c")
                  << QStringLiteral("C:") << QStringLiteral("-c")
                  << QStringLiteral("CALL ") + QFileInfo(batchPath).fileName();
    }
    arguments << QStringLiteral("-c") << QStringLiteral("EXIT");
    if (!platform::Processes().Run(dosbox, arguments, folder, window).started)
        ShowCannotStart(dosbox);
}

} // namespace vl

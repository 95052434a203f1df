// Preview: the batch file run by COMSPEC's interpreter or, on a system without one, by DOSBox.
#include "Preview.h"

#include "model/BatchFile.h"
#include "model/Rules.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/ProcessService.h"

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
// happens to lie in the configuration's folder. A menu makes no sound worth hearing.
const char kDosBoxSettings[] = "# Settings of VLConfig's Preview; DOSBox's defaults apply to the rest.\n"
                               "[dosbox]\n[mixer]\nnosound=true\n";

void ShowCannotStart(const QString& interpreter)
{
    platform::ShowMessage(QStringLiteral("Unable to start the command interpreter %1.").arg(interpreter));
}

// TMPDIR when it names a folder this user may write in, else /tmp.
QString TemporaryFolder()
{
    const QFileInfo tmpdir(qEnvironmentVariable("TMPDIR"));
    return !tmpdir.filePath().isEmpty() && tmpdir.isDir() && tmpdir.isWritable() ? tmpdir.absoluteFilePath()
                                                                                 : QStringLiteral("/tmp");
}

// DOSBox's start-up commands expand '%' and its MOUNT cannot quote a '"'.
bool PassesDosBoxCommandLine(const QString& text)
{
    return !text.contains(QLatin1Char('%')) && !text.contains(QLatin1Char('"'));
}

void EndRun(const platform::ProcessResult& result, const QString& program, QTemporaryFile* settings)
{
    if (settings)
        settings->remove();
    if (result.endSignal)
        platform::EndWithSignal(result.endSignal);
    if (!result.started)
        ShowCannotStart(program);
}

} // namespace

void RunPreview(const QString& configPath, QWidget* window)
{
    if (configPath.isEmpty())
        return;
    // The batch file names the configuration without a folder, so it runs in the configuration's folder.
    const QString folder = QFileInfo(configPath).absolutePath();
    const QString batchPath = QFile::decodeName(
        QByteArray::fromStdString(BatchPathFor(QFile::encodeName(configPath).toStdString())));

    const QString comspec = qEnvironmentVariable("COMSPEC");
    if (!comspec.isEmpty()) {
        EndRun(platform::Processes().Run(comspec, {QStringLiteral("/c"), batchPath}, folder, window), comspec,
               nullptr);
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
    const std::string problem = rules::ConfigFileNameProblem(platform::FileNameOf(configPath).toStdString());
    if (!problem.empty()) {
        platform::ShowMessage(QString::fromStdString(problem));
        return;
    }
    QTemporaryFile settings(TemporaryFolder() + QStringLiteral("/vlconfig-dosbox-XXXXXX.conf"));
    if (!settings.open() || settings.write(kDosBoxSettings) < 0 || !settings.flush()) {
        ShowCannotStart(dosbox);
        return;
    }
    // DOSBox starts in the configuration's folder and mounts it as ".", so the folder's own name never
    // passes through DOS's command line. The stand-ins for the launcher and the mouse driver lie on
    // drive D:, after C: on PATH, so that the configuration's own programs always come first.
    const QString standIns = platform::ProgramFolder() + QStringLiteral("dos");
    const bool haveStandIns = QFileInfo(standIns).isDir() && PassesDosBoxCommandLine(standIns);
    QStringList commands{QStringLiteral("MOUNT C .")};
    if (haveStandIns)
        commands << QStringLiteral("MOUNT D \"%1\"").arg(standIns)
                 << QStringLiteral("SET PATH=C:\\;D:\\;Z:\\");
    commands << QStringLiteral("C:");
    // Keys for a run with nobody at the keyboard: the stand-ins read them from the DOS file it names.
    const QString keys = qEnvironmentVariable("VLKEYS");
    if (!keys.isEmpty() && PassesDosBoxCommandLine(keys))
        commands << QStringLiteral("SET VLKEYS=") + keys;
    // DOS finds the batch file whatever the letter case of its name; CALL brings it back to the line
    // saying that Preview ended, which waits for a key, and then to EXIT, which ends DOSBox.
    commands << QStringLiteral("CALL ") + QFileInfo(batchPath).fileName();
    if (haveStandIns)
        commands << QStringLiteral("D:\\VLDONE");
    commands << QStringLiteral("EXIT");

    QStringList arguments{QStringLiteral("-conf"), settings.fileName()};
    for (const QString& command : commands)
        arguments << QStringLiteral("-c") << command;
    // Without this SDL opens the sound server all the same, which leaves its files in HOME.
    EndRun(platform::Processes().Run(dosbox, arguments, folder, window,
                                     {QStringLiteral("SDL_AUDIODRIVER=dummy")}),
           dosbox, &settings);
}

} // namespace vl

// The help window.
#include "HelpWindow.h"

#include "MessageService.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

namespace
{

// The help file's bytes, read only from a regular file of at most kMaxHelpBytes: a pipe would block
// the window for good and a device or a huge file would fill memory. Empty when refused.
std::optional<QByteArray> ReadHelpFile(const QString& path)
{
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {
    };
    std::optional<QByteArray> bytes;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxHelpBytes) {
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly)) {
            // read() stops at the limit even for a file that grows meanwhile.
            QByteArray read = file.read(kMaxHelpBytes + 1);
            if (read.size() <= kMaxHelpBytes && file.error() == QFileDevice::NoError)
                bytes = std::move(read);
        }
    }
    close(fd);
    return bytes;
}

} // namespace

bool ShowHelpContents(const QString& path, QWidget* parent)
{
    const std::optional<QByteArray> bytes = ReadHelpFile(path);
    if (!bytes)
        return false;
    const QString html = QString::fromUtf8(*bytes);

    static QPointer<QDialog> window;
    if (!window) {
        window = new QDialog(parent);
        window->setObjectName(QStringLiteral("helpWindow"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(ApplicationTitle() + QStringLiteral(" Help"));
        window->resize(640, 480);
        auto* layout = new QVBoxLayout(window);
        auto* browser = new QTextBrowser(window);
        browser->setObjectName(QStringLiteral("helpBrowser"));
        browser->setOpenExternalLinks(false);
        layout->addWidget(browser);
    }
    auto* browser = window->findChild<QTextBrowser*>();
    browser->setSearchPaths({QFileInfo(path).absolutePath()});
    browser->setHtml(html);
    window->show();
    window->raise();
    return true;
}

} // namespace platform

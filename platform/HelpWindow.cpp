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

namespace platform
{

bool ShowHelpContents(const QString& path, QWidget* parent)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString html = QString::fromUtf8(file.readAll());

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

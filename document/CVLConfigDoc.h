// The one document: the configuration being edited, carried through New, Open, Save and Close.
#pragma once

#include "PageValidator.h"
#include "model/SectionRing.h"
#include "platform/CommandRouter.h"
#include "platform/DocumentBase.h"

#include <QString>

class QWidget;

namespace vl
{

class CVLConfigDoc : public platform::DocumentBase, public platform::CommandTarget
{
    Q_OBJECT

  public:
    explicit CVLConfigDoc(QObject* parent = nullptr);
    ~CVLConfigDoc() override;

    // The page on show, asked to commit before every save; the window that waits during Preview.
    void SetPageValidator(PageValidator* validator) { m_validator = validator; }
    void SetWindow(QWidget* window) { m_window = window; }

    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;
    void OnCloseDocument() override;
    void OnFileSave();
    void OnFileSaveAs();
    void OnPreview();

    QString SaveFilter() const override
    {
        return QStringLiteral("Configuration Files (*.ini)|*.ini|All Files (*.*)|*.*|");
    }
    QString DefaultExtension() const override { return QStringLiteral(".ini"); }

    bool UpdateCommand(int id, platform::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    // The folder the configuration's logo and program paths start from, ending in "/": the saved
    // file's, else the one taken from the first file browsed for (none until then).
    QString ConfigFolder() const;
    // A configuration never saved takes folder as its own; one with a folder keeps it.
    void TakeFolder(const QString& folder);
    QString SaveAsFolder() const override;

    // The file name of the default template beside the program.
    static QString TemplateName() { return QStringLiteral("VLDefault.cfg"); }
    // The message for a status of the reader.
    static QString ReadStatusMessage(int status);

    SectionNode* m_pRing = nullptr;

  signals:
    // A new configuration has replaced the old one: every page reads it afresh.
    void configurationReplaced();

  private:
    bool ValidatePage();
    bool TakeRing(const QString& path, bool* converted = nullptr);

    PageValidator* m_validator = nullptr;
    QWidget* m_window = nullptr;
    QString m_takenFolder;
};

// The bytes of a path as the file system takes them.
std::string LocalPath(const QString& path);

} // namespace vl

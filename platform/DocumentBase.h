// The document base: path name, title, modified flag, the save-changes question and the save steps.
#pragma once

#include <QObject>
#include <QString>

namespace platform
{

class DocumentBase : public QObject
{
    Q_OBJECT

  public:
    explicit DocumentBase(QObject* parent = nullptr);

    QString PathName() const { return m_pathName; }
    // Sets the path name and the title (the file name); adds the path to the recent files.
    void SetPathName(const QString& path, bool addToRecent = true);
    QString Title() const { return m_title; }
    void SetTitle(const QString& title);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    // The default title of a document that has no name yet.
    static QString DefaultTitle() { return QStringLiteral("Untitled"); }

    // Asks "Save changes to %1?" when modified: Yes saves first, No goes on; Cancel or a failed
    // save gives false.
    bool SaveModified();
    // Saves under the path name, or asks for one when there is none.
    bool DoFileSave();
    // Saves under path; an empty path asks for a name. The path name changes only after a save.
    bool DoSave(const QString& path);

    // The hooks a document overrides.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const QString& path);
    virtual bool OnSaveDocument(const QString& path);
    virtual void OnCloseDocument();

    // Settings of the Save As dialog.
    virtual QString SaveFilter() const { return QString(); }
    virtual QString DefaultExtension() const { return QString(); }
    // Where it starts; empty: where the last such dialog ended.
    virtual QString SaveAsFolder() const { return QString(); }

  signals:
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);
    void addedToRecentFiles(const QString& path);

  protected:
    // The base's own new-document step: no path name, the default title, not modified.
    bool NewDocumentStep();

  private:
    QString m_pathName;
    QString m_title;
    bool m_modified = false;
};

} // namespace platform

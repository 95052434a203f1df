// The whole program on a configuration file of the test's own, driven as a person drives it: clicks
// through the shown window at a control's place, keys to whatever has the focus, Save through Ctrl+S.
#pragma once

#include "../app/AppFixture.h"

#include "document/CommandIds.h"
#include "pages/CVLProdView.h"
#include "pages/ProductTree.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTest>

namespace vltest
{

// One section as the writer writes it.
inline QByteArray Section(const QByteArray& name, const QByteArray& parent, const QByteArray& title = "T",
                          const QByteArray& path = "P", const QByteArray& description = "D")
{
    return "[" + name + "]\r\nPARENT=" + parent + "\r\nTITLE=" + title + "\r\nPATH=" + path +
           "\r\nDESCRIPTION=" + description + "\r\n\r\n";
}
inline const QByteArray kHeading = "Velmora Products";
inline const QByteArray kGeneralAndMisc =
    Section("GENERAL", "GENERAL", "Menu", "L.PCX", "Pick one\r\rand go") + "[MISC]\r\nBIOSSTR=X\r\n\r\n";
inline const QByteArray kValidConfig = kGeneralAndMisc + Section("Tools", kHeading, "Tools", "T.BAT") +
                                       Section("Games", kHeading, "Games", "G.BAT") +
                                       Section("Disk", "Tools", "Disk", "D.BAT");

class PageDriver : public AppTest
{
  protected:
    void OpenFile(const QByteArray& bytes) // as C.ini from the command line, in the shown, active window
    {
        m_path = WriteFile(QStringLiteral("C.ini"), bytes);
        ASSERT_TRUE(Start({m_path}));
        Frame()->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    }
    static void Paste(const QString& text) // replaces the focused field's text
    {
        QGuiApplication::clipboard()->setText(text);
        Key(Qt::Key_A, Qt::ControlModifier);
        Key(Qt::Key_V, Qt::ControlModifier);
    }

    template <class T = QWidget> T* Gen(const char* name) const { return Control<T>(name); }
    template <class T = QWidget> T* Prod(const char* name) const
    {
        return Control<T>(name, vl::kProductPageId);
    }
    vl::CVLProdView* ProdPage() const
    {
        return static_cast<vl::CVLProdView*>(Frame()->FindPage(vl::kProductPageId));
    }
    vl::ProductTreeView* Tree() const { return ProdPage()->Tree(); }
    QStandardItemModel* Model() const { return ProdPage()->Model(); }
    QString ProdTitle() const { return Prod<QLineEdit>("titleEdit")->text(); }
    void ToProduct() { Click(Gen("nextButton")); }

    QModelIndex Entry(int group, int row) const { return Model()->index(row, 0, Model()->index(group, 0)); }
    // A click on the item's label, or on the empty rest of its row.
    void ClickItem(const QModelIndex& index, Qt::MouseButton button = Qt::LeftButton, bool label = true)
    {
        ASSERT_TRUE(index.isValid());
        Tree()->scrollTo(index);
        const QRect rect = Tree()->visualRect(index);
        Click(Tree()->viewport(),
              QPoint(label ? rect.left() + 3 : Tree()->viewport()->width() - 4, rect.center().y()), button);
    }
    QLineEdit* LabelEditor() const
    {
        return qobject_cast<QLineEdit*>(Tree()->indexWidget(Tree()->EditIndex()));
    }
    void EndLabel(const QString& name) // replaces the running label edit's text and presses Enter
    {
        ASSERT_TRUE(LabelEditor() && Focus() == LabelEditor()) << "no label edit running";
        Paste(name);
        Key(Qt::Key_Return);
    }
    QByteArray SaveAndRead() // Ctrl+S, then the file's bytes
    {
        QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier);
        ProcessEvents();
        return ReadFile(m_path);
    }

    QString m_path;
};

} // namespace vltest

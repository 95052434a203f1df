// Shared set-up of the Product page tests: a page on a ring parsed from text, a recording host, and
// readers of the tree and the ring.
#pragma once

#include "document/CVLConfigDoc.h"
#include "document/CommandIds.h"
#include "model/ConfigFile.h"
#include "pages/CVLProdView.h"
#include "pages/ProductTree.h"
#include "platform/CodePage.h"
#include "support/GuiTest.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vltest::prod
{

using namespace Qt::StringLiterals;
using Q = QStringList;
using Names = std::vector<std::string>;

inline const QString kSelectPrompt = u"Click Edit > Add, Remove, or Rename to the edit product list."_s;
inline const QString kAddPrompt = u"Enter title less than 50 characters."_s;
inline const QString kTitleMessage = u"Please enter the title less than 50 characters"_s;
inline const QString kDescriptionMessage = u"Please enter the description less than 180 characters"_s;
inline const QString kPathMessage = u"Please enter the valid file path"_s;
inline const QString kLabelMessage = u"Please enter the product label less than 50 characters"_s;
inline const QString kDuplicateMessage = u"This product name already exists !!\nTry with different name"_s;
inline const QString kRemoveQuestion = u"Would you like to remove the item ?"_s;

// The frame, as far as the page reaches it.
class RecordingHost : public vl::PageHost
{
  public:
    void SwitchPage(int pageId) override { switched.append(pageId); }
    void SetStatusPrompt(const QString& text) override { prompt = text; }
    void FitFrameToPage(QWidget*) override {}
    void UpdateCommands() override {}
    QList<int> switched;
    QString prompt;
};

// One section of a configuration file; an empty description or path leaves the key out.
inline std::string Sec(std::string_view name, std::string_view parent, std::string_view title = "T",
                       std::string_view description = "D", std::string_view path = "P")
{
    std::string out =
        "[" + std::string(name) + "]\nPARENT=" + std::string(parent) + "\nTITLE=" + std::string(title) + "\n";
    if (!description.empty())
        out += "DESCRIPTION=" + std::string(description) + "\n";
    if (!path.empty())
        out += "PATH=" + std::string(path) + "\n";
    return out;
}
inline const std::string kGeneral = "[GENERAL]\nPARENT=GENERAL\nTITLE=Main Menu\n";
inline const std::string kXZY = kGeneral + Sec("X", "P", "tx", "dx", "px") + Sec("Z", "Q", "tz", "dz", "pz") +
                                Sec("Y", "P", "ty", "dy", "py");
inline const Names kXZYNames{"GENERAL/GENERAL", "P/X", "Q/Z", "P/Y"};

// One section as the tests compare it.
struct Section {
    std::string parent, name, title;
    std::optional<std::string> description, path;
    bool operator==(const Section&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Section& s)
{
    return out << "[" << s.parent << "/" << s.name << " t=" << s.title
               << " d=" << s.description.value_or("<none>") << " p=" << s.path.value_or("<none>") << "]";
}

// The sections of a ring, sentinel left out, in ring order.
inline std::vector<Section> SectionsOf(const vl::SectionNode* ring)
{
    std::vector<Section> out;
    const vl::SectionNode* sentinel = vl::FindSentinel(ring);
    for (const vl::SectionNode* n = sentinel ? sentinel->next : nullptr; n && n != sentinel; n = n->next)
        out.push_back({n->parent, n->name, n->title, n->description, n->path});
    return out;
}
// "parent/name" of each section, for short comparisons.
inline Names NamesOf(const vl::SectionNode* ring)
{
    Names out;
    for (const Section& s : SectionsOf(ring))
        out.push_back(s.parent + "/" + s.name);
    return out;
}

// A tree as the tests compare it: each group with its entries, in display order.
struct Group {
    QString text;
    QStringList entries;
    bool operator==(const Group&) const = default;
};
using Shape = std::vector<Group>;
inline std::ostream& operator<<(std::ostream& out, const Group& g)
{
    return out << g.text.toStdString() << ": {" << g.entries.join(u", "_s).toStdString() << "}";
}

// A page on a document whose ring is parsed from text, shown so that keys and clicks reach it.
class ProdPageTest : public GuiTest
{
  public:
    void TearDown() override
    {
        m_page.reset();
        m_doc.reset();
        GuiTest::TearDown();
    }

    // A page on the configuration of the given file text; no text gives a document without a ring.
    void Open(const std::string& config, bool show = true)
    {
        m_page.reset();
        m_doc = std::make_unique<vl::CVLConfigDoc>();
        if (!config.empty()) {
            const vl::ReadResult read = vl::ParseConfigText(config);
            ASSERT_NE(read.ring, nullptr) << "status " << read.status;
            m_doc->m_pRing = read.ring;
        }
        m_page = std::make_unique<vl::CVLProdView>(m_doc.get(), &m_host);
        m_page->OnInitialUpdate();
        if (show) {
            m_page->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(m_page.get()));
        }
        m_doc->SetModifiedFlag(false);
    }

    vl::CVLProdView& Page() { return *m_page; }
    vl::ProductTreeView* Tree() { return m_page->Tree(); }
    QStandardItemModel* Model() { return m_page->Model(); }
    vl::SectionNode* Ring() { return m_doc->m_pRing; }
    Shape TreeShape()
    {
        Shape shape;
        for (int row = 0; row < Model()->rowCount(); ++row) {
            const QModelIndex group = Model()->index(row, 0);
            shape.push_back({group.data().toString(), {}});
            for (int child = 0; child < Model()->rowCount(group); ++child)
                shape.back().entries.append(Model()->index(child, 0, group).data().toString());
        }
        return shape;
    }
    vl::SectionNode* Node(std::string_view parent, std::string_view name)
    {
        return vl::FindSection(Ring(), parent, name);
    }

    template <class T> T* Control(const char* name)
    {
        T* control = m_page->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QLineEdit* TitleEdit() { return Control<QLineEdit>("titleEdit"); }
    QPlainTextEdit* DescriptionEdit() { return Control<QPlainTextEdit>("descriptionEdit"); }
    QLineEdit* PathEdit() { return Control<QLineEdit>("pathEdit"); }
    QPushButton* BrowseButton() { return Control<QPushButton>("browseButton"); }
    Q Fields() { return {TitleEdit()->text(), DescriptionEdit()->toPlainText(), PathEdit()->text()}; }

    QModelIndex ChildItem(const QModelIndex& parent, const QString& text)
    {
        for (int row = 0; row < Model()->rowCount(parent); ++row) {
            if (Model()->index(row, 0, parent).data().toString() == text)
                return Model()->index(row, 0, parent);
        }
        return {};
    }
    QModelIndex GroupItem(const QString& text) { return ChildItem({}, text); }
    QModelIndex EntryItem(const QString& group, const QString& entry)
    {
        const QModelIndex g = GroupItem(group);
        return g.isValid() ? ChildItem(g, entry) : QModelIndex();
    }
    QString CurrentText() { return Tree()->currentIndex().data().toString(); }
    QString ActedText() { return Page().m_hCurItem.data().toString(); }

    // A left click on the middle of the item's label.
    void Click(const QModelIndex& index)
    {
        ASSERT_TRUE(index.isValid());
        Tree()->scrollTo(index);
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, LabelPoint(index));
    }
    void Key(int key) { QTest::keyClick(Tree(), static_cast<Qt::Key>(key)); }
    // A point on the item's label: the item's rectangle runs on to the right edge of the tree.
    QPoint LabelPoint(const QModelIndex& index)
    {
        const QRect rect = Tree()->visualRect(index);
        return {rect.left() + 3, rect.center().y()};
    }

    // The label editor of the running edit, or none.
    QLineEdit* LabelEditor()
    {
        return Tree()->IsEditing() ? qobject_cast<QLineEdit*>(Tree()->indexWidget(Tree()->EditIndex()))
                                   : nullptr;
    }
    // Replaces the running label's text by typing (null: leaves it), then ends it with Enter or Escape.
    void EndLabel(const QString& typed, Qt::Key end = Qt::Key_Return)
    {
        QLineEdit* editor = LabelEditor();
        ASSERT_NE(editor, nullptr) << "no label edit running";
        if (!typed.isNull())
            Retype(editor, typed);
        QTest::keyClick(editor, end);
    }
    // Replaces a field's text as the user would: select all, delete, type.
    template <class Field> static void Retype(Field* field, const QString& text)
    {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    bool Enabled(int id)
    {
        platform::CommandState state; // as the command chain asks: enabled unless the page says otherwise
        EXPECT_TRUE(m_page->UpdateCommand(id, state)) << id;
        return state.enabled;
    }

    // A right click at pos, choosing the context-menu item with the given command id (none: the menu is
    // dismissed). Gives the ids enabled in the menu, or {-1} when no menu came up.
    QList<int> RightClick(const QPoint& pos, int choose = 0)
    {
        QList<int> enabled{-1};
        m_page->SetPopupRunner([&](QMenu* menu, const QPoint&) -> QAction* {
            enabled.clear();
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                const int id = action->property("commandId").toInt();
                if (action->isEnabled())
                    enabled.append(id);
                if (id == choose)
                    chosen = action;
            }
            return chosen;
        });
        m_page->ShowContextMenu(pos);
        return enabled;
    }

    RecordingHost m_host;
    std::unique_ptr<vl::CVLConfigDoc> m_doc;
    std::unique_ptr<vl::CVLProdView> m_page;
};

} // namespace vltest::prod

// Shared set-up of the Product page tests: a page on a ring parsed from text, a recording host, and
// readers of the tree and the ring.
#pragma once

#include "document/CVLConfigDoc.h"
#include "document/CommandIds.h"
#include "model/CaseFold.h"
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

namespace vltest::prod {

inline const QString kSelectPrompt =
    QStringLiteral("Click Edit > Add, Remove, or Rename to the edit product list.");
inline const QString kAddPrompt = QStringLiteral("Enter title less than 50 characters.");
inline const QString kTitleMessage = QStringLiteral("Please enter the title less than 50 characters");
inline const QString kDescriptionMessage =
    QStringLiteral("Please enter the description less than 180 characters");
inline const QString kPathMessage = QStringLiteral("Please enter the valid file path");
inline const QString kLabelMessage = QStringLiteral("Please enter the product label less than 50 characters");
inline const QString kDuplicateMessage =
    QStringLiteral("This product name already exists !!\nTry with different name");
inline const QString kRemoveQuestion = QStringLiteral("Would you like to remove the item ?");

// The frame, as far as the page reaches it.
class RecordingHost : public vl::PageHost {
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
    if (!sentinel)
        return out;
    for (const vl::SectionNode* n = sentinel->next; n != sentinel; n = n->next)
        out.push_back({n->parent, n->name, n->title, n->description, n->path});
    return out;
}

// The sections a configuration text reads as.
inline std::vector<Section> SectionsOfText(const std::string& config)
{
    vl::SectionNode* ring = vl::ParseConfigText(config).ring;
    std::vector<Section> out = SectionsOf(ring);
    vl::FreeSectionRing(ring);
    return out;
}

// "parent/name" of each section, for short comparisons.
inline std::vector<std::string> NamesOf(const vl::SectionNode* ring)
{
    std::vector<std::string> out;
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
    return out << g.text.toStdString() << ": {" << g.entries.join(QStringLiteral(", ")).toStdString() << "}";
}

inline Shape ShapeOf(const QStandardItemModel* model)
{
    Shape shape;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex group = model->index(row, 0);
        Group g{group.data().toString(), {}};
        for (int child = 0; child < model->rowCount(group); ++child)
            g.entries.append(model->index(child, 0, group).data().toString());
        shape.push_back(g);
    }
    return shape;
}

// What the tree must show right after it is built from sections: the general section and "MISC"
// never, groups by their first parent text (letter case ignored) in order of first appearance, and
// an entry for every section with a name.
inline Shape ExpectedShape(const std::vector<Section>& sections)
{
    Shape shape;
    for (const Section& s : sections) {
        if ((s.parent == "GENERAL" && s.name == "GENERAL") || s.name == "MISC")
            continue;
        auto it = std::find_if(shape.begin(), shape.end(), [&](const Group& g) {
            return vl::EqualsIgnoreCase(platform::ToCp1252(g.text).value_or(""), s.parent);
        });
        if (it == shape.end())
            it = shape.insert(shape.end(), Group{platform::FromCp1252(s.parent), {}});
        if (!s.name.empty())
            it->entries.append(platform::FromCp1252(s.name));
    }
    return shape;
}

// A page on a document whose ring is parsed from text, shown so that keys and clicks reach it.
class ProdPageTest : public GuiTest {
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
        vl::SectionNode* ring = nullptr;
        if (!config.empty()) {
            const vl::ReadResult read = vl::ParseConfigText(config);
            ASSERT_NE(read.ring, nullptr) << "status " << read.status;
            ring = read.ring;
        }
        OpenRing(ring, show);
    }
    void OpenRing(vl::SectionNode* ring, bool show = true)
    {
        m_page.reset();
        m_doc = std::make_unique<vl::CVLConfigDoc>();
        m_doc->m_pRing = ring;
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
    Shape TreeShape() { return ShapeOf(Model()); }
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

    QModelIndex GroupItem(const QString& text)
    {
        for (int row = 0; row < Model()->rowCount(); ++row) {
            if (Model()->index(row, 0).data().toString() == text)
                return Model()->index(row, 0);
        }
        return {};
    }
    QModelIndex EntryItem(const QString& group, const QString& entry)
    {
        const QModelIndex g = GroupItem(group);
        for (int row = 0; row < Model()->rowCount(g); ++row) {
            if (Model()->index(row, 0, g).data().toString() == entry)
                return Model()->index(row, 0, g);
        }
        return {};
    }
    QString CurrentText() { return Tree()->currentIndex().data().toString(); }

    // A left click on the middle of the item's label.
    void Click(const QModelIndex& index)
    {
        ASSERT_TRUE(index.isValid());
        Tree()->scrollTo(index);
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, LabelPoint(index));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(Tree(), static_cast<Qt::Key>(key), modifiers);
    }

    // The label editor of the running edit, or none.
    QLineEdit* LabelEditor()
    {
        if (!Tree()->IsEditing())
            return nullptr;
        auto* editor = qobject_cast<QLineEdit*>(Tree()->indexWidget(Tree()->EditIndex()));
        if (editor && editor->objectName() != QLatin1String("labelEdit"))
            return nullptr;
        return editor;
    }
    // Replaces the running label's text by typing, then ends it with Enter or Escape.
    void EndLabel(const QString& typed, Qt::Key end = Qt::Key_Return)
    {
        QLineEdit* editor = LabelEditor();
        ASSERT_NE(editor, nullptr) << "no label edit running";
        if (!typed.isNull()) {
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(editor, Qt::Key_Backspace);
            QTest::keyClicks(editor, typed);
        }
        QTest::keyClick(editor, end);
    }

    // Replaces a one-line field's text as the user would: select all, delete, type.
    static void Retype(QLineEdit* field, const QString& text)
    {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    static void Retype(QPlainTextEdit* field, const QString& text)
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

    // A right click on the item's label, choosing the context-menu item with the given command id
    // (none: the menu is dismissed). Gives the ids enabled in the menu, or {-1} when no menu came up.
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
    // A point on the item's label: the item's rectangle runs on to the right edge of the tree.
    QPoint LabelPoint(const QModelIndex& index)
    {
        const QRect rect = Tree()->visualRect(index);
        return {rect.left() + 3, rect.center().y()};
    }

    RecordingHost m_host;
    std::unique_ptr<vl::CVLConfigDoc> m_doc;
    std::unique_ptr<vl::CVLProdView> m_page;
};

} // namespace vltest::prod

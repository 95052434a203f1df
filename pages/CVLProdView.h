// The Product page: the tree of menu entries, the selected entry's fields, and the entry commands.
#pragma once

#include "Page.h"
#include "model/SectionRing.h"

#include <QPersistentModelIndex>
#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace Ui
{
class CVLProdView;
}

namespace vl
{

class CVLConfigDoc;
class ProductSelectionModel;
class ProductTreeModel;
class ProductTreeView;
class TextEditLimiter;

enum class LabelEditMode : int { None = 0, Adding = 1, Renaming = 2 };

class CVLProdView : public CPage
{
    Q_OBJECT

  public:
    CVLProdView(CVLConfigDoc* document, PageHost* host, QWidget* parent = nullptr);
    ~CVLProdView() override;

    bool CommitPage() override { return CommitPage(true); }
    bool CommitPage(bool showMessages);
    void OnInitialUpdate() override;
    void OnUpdate();

    // The tree.
    void BuildTree();
    QModelIndex FindGroupItem(const QString& text) const;
    bool SelectEntry(const QModelIndex& oldItem, const QModelIndex& newItem);
    // A right click at pos, in the tree viewport's coordinates.
    void ShowContextMenu(const QPoint& pos);

    // The details.
    void EnableFields(bool enable);
    void BrowseForProgram();

    // The entry commands.
    void AddEntry();
    void RemoveEntry();
    void RenameEntry();
    void EndLabelEdit(const QModelIndex& item, const QString& newText);
    void MoveEntryUp();
    void MoveEntryDown();

    bool UpdateCommand(int id, platform::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    ProductTreeView* Tree() const { return m_tree; }
    ProductTreeModel* Model() const { return m_model; }
    QMenu* ContextMenu() const { return m_menuContext; }
    // Shows the context menu and gives the chosen item; tests replace it.
    using PopupRunner = std::function<QAction*(QMenu* menu, const QPoint& globalPos)>;
    void SetPopupRunner(PopupRunner runner) { m_popupRunner = std::move(runner); }

    LabelEditMode m_nEditMode = LabelEditMode::None;
    SectionNode* m_pRing = nullptr;
    QPersistentModelIndex m_hCurItem;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool SelectItem(const QModelIndex& index);
    void MoveEntry(int step);
    void DeleteItem(const QModelIndex& index);
    void FillFields(const SectionNode& node);
    void OnUserChange();
    void SetPrompt(const QString& text);
    bool OnPageKey(QObject* watched, QEvent* event);

    CVLConfigDoc* m_document;
    std::unique_ptr<Ui::CVLProdView> m_ui;
    ProductTreeModel* m_model;
    ProductTreeView* m_tree;
    ProductSelectionModel* m_selection;
    QMenu* m_menuContext;
    TextEditLimiter* m_descriptionLimiter = nullptr;
    PopupRunner m_popupRunner;
    QObject* m_keyFilter = nullptr;
    bool m_filling = false;
    bool m_committed = false; // the fields were just stored: a selection that follows need not again
};

inline constexpr const char* kProgramFilter = "Executable|*.exe|Batch File|*.bat|(All Files)|*.*|";

} // namespace vl

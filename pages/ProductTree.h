// The product tree's parts: a selection that the page can refuse, and label editing that ends in the page.
#pragma once

#include <QItemSelectionModel>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <functional>

namespace vl
{

// Asks the page before the current row changes. A refused change leaves current and selection as
// they were, whether it came from a click, a key or the program.
class ProductSelectionModel : public QItemSelectionModel
{
    Q_OBJECT

  public:
    // (old item, new item) → whether the selection may move.
    using Guard = std::function<bool(const QModelIndex& from, const QModelIndex& to)>;

    explicit ProductSelectionModel(QAbstractItemModel* model, QObject* parent = nullptr);
    void SetGuard(Guard guard) { m_guard = std::move(guard); }
    // While bypassed (the page rebuilding or deleting items) changes are not asked about.
    void SetBypass(bool bypass) { m_bypass = bypass; }

    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override;
    using QItemSelectionModel::select;

  private:
    Guard m_guard;
    bool m_bypass = false;
};

// Entry items can be edited; group items (the top level) cannot. The tree never takes the edited
// text over: the page sets item texts itself.
class ProductItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

class ProductTreeView : public QTreeView
{
    Q_OBJECT

  public:
    // (edited item, text): the text is empty when the edit was cancelled.
    using EditEnd = std::function<void(const QModelIndex& index, const QString& text)>;

    explicit ProductTreeView(QWidget* parent = nullptr);
    void SetEditEnd(EditEnd end) { m_editEnd = std::move(end); }

    // Starts a label edit on index; false when it cannot begin (a group item).
    bool StartEdit(const QModelIndex& index);
    bool IsEditing() const { return m_editIndex.isValid() && indexWidget(m_editIndex); }
    QModelIndex EditIndex() const { return m_editIndex; }
    // Ends the running label edit at once, keeping or dropping the text.
    void EndEdit(bool keep);

  protected:
    // The right button only asks for the context menu, which decides what to select itself.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    EditEnd m_editEnd;
    QPersistentModelIndex m_editIndex;
    QString m_editedText;
    bool m_committed = false;
};

} // namespace vl

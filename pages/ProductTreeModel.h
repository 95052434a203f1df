// The product tree's model: groups and entries built from the ring, and the section each entry stands for.
#pragma once

#include "model/SectionRing.h"

#include <QStandardItemModel>
#include <string>

namespace vl
{

// Two levels: a group item for each parent text (letter case folded, in the order the ring first
// names it) and under it an entry item for each shown section with a name, in ring order.
class ProductTreeModel : public QStandardItemModel
{
    Q_OBJECT

  public:
    explicit ProductTreeModel(QObject* parent = nullptr);

    // Replaces every item by the tree of ring (none: no items). Gives the group item of the last
    // shown section, or an invalid index when no section is shown.
    QModelIndex Build(const SectionNode* ring);

    static bool IsEntry(const QModelIndex& index) { return index.isValid() && index.parent().isValid(); }
    // The first group item whose text equals text ignoring letter case.
    QModelIndex FindGroup(const QString& text) const;
    // The entry of group that stands for node, or, when node is none, the first whose text equals
    // name ignoring letter case: the item a section has after the tree was built again.
    QModelIndex FindEntry(const QModelIndex& group, const SectionNode* node, const std::string& name) const;

    // The section an entry item stands for: the one it was made for, not one found by its name, so
    // that entries sharing a name each reach their own. None once that section left the ring.
    SectionNode* NodeOf(const QModelIndex& entry) const;
    void SetNode(const QModelIndex& entry, SectionNode* node);
    // A new entry item standing for no section yet, last in group.
    QModelIndex AppendEntry(const QModelIndex& group, const QString& text);

  private:
    const SectionNode* m_ring = nullptr; // the ring the items were built from
};

} // namespace vl

// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QStyledItemDelegate>
#include <memory>

#include "health_checker.h"
#include "scenery_document.h"

namespace sceneshifter {

// Draws a title list entry ("layer, eight spaces, title") in two aligned
// columns: the layer right-aligned in a column four digits wide, the title
// at a fixed indent. Inactive areas are greyed; an area with a problem has
// a warning mark between the columns, and its tooltip lists the problems.
// The entry's text itself is left as it is.
class TitleListDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  TitleListDelegate(const SceneryDocument& doc, QObject* parent);

  void SetHealth(std::shared_ptr<const HealthResult> health);

  // How entry `row` is drawn.
  bool Greyed(int row) const;
  bool Marked(int row) const;
  // One line per problem, in words; empty when the entry has none.
  QString ProblemsText(int row) const;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view,
                 const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

 private:
  struct Columns {
    QRect layer, mark, title;
  };
  Columns ColumnsOf(const QStyleOptionViewItem& option) const;

  const SceneryDocument& doc_;
  std::shared_ptr<const HealthResult> health_;
  QIcon warning_;
};

}  // namespace sceneshifter

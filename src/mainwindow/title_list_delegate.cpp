// SPDX-License-Identifier: MIT
#include "title_list_delegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "text_bytes.h"

namespace sceneshifter {
namespace {

constexpr int kGap = 3;  // pixels on each side of the mark

// The layer and the title of an entry's text.
std::pair<QString, QString> SplitEntry(const QString& text) {
  static const QString kSpaces(8, QLatin1Char(' '));
  const qsizetype cut = text.indexOf(kSpaces);
  if (cut < 0) return {QString(), text};
  return {text.left(cut), text.mid(cut + kSpaces.size())};
}

}  // namespace

TitleListDelegate::TitleListDelegate(const SceneryDocument& doc,
                                     QObject* parent)
    : QStyledItemDelegate(parent), doc_(doc) {
  setObjectName(QStringLiteral("TitleListDelegate"));
  warning_ = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
}

void TitleListDelegate::SetHealth(std::shared_ptr<const HealthResult> health) {
  health_ = std::move(health);
}

bool TitleListDelegate::Greyed(int row) const {
  return row >= 0 && row < doc_.AreaCount() &&
         !EqualsNoCase(doc_.Areas[row].Active, "true");
}

bool TitleListDelegate::Marked(int row) const {
  return health_ && !health_->ProblemsOf(row, doc_).empty();
}

QString TitleListDelegate::ProblemsText(int row) const {
  if (!health_) return QString();
  QStringList lines;
  for (const AreaProblem& p : health_->ProblemsOf(row, doc_)) {
    QString line = QString::fromLatin1(HealthCodeWords(p.code));
    if (!p.detail.empty())
      line += QStringLiteral(": ") + QString::fromStdString(p.detail);
    lines << line;
  }
  return lines.join(QLatin1Char('\n'));
}

TitleListDelegate::Columns TitleListDelegate::ColumnsOf(
    const QStyleOptionViewItem& option) const {
  const QRect r = option.rect;
  const int margin = 3;
  const int digits =
      option.fontMetrics.horizontalAdvance(QStringLiteral("0000"));
  const int side = std::min(16, std::max(8, r.height() - 2));
  Columns c;
  c.layer = QRect(r.left() + margin, r.top(), digits, r.height());
  c.mark = QRect(c.layer.right() + 1 + kGap, r.top() + (r.height() - side) / 2,
                 side, side);
  const int titleLeft = c.mark.right() + 1 + kGap;
  c.title =
      QRect(titleLeft, r.top(), std::max(0, r.right() - titleLeft), r.height());
  return c;
}

void TitleListDelegate::paint(QPainter* painter,
                              const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyleOptionViewItem opt(option);
  initStyleOption(&opt, index);
  const auto [layer, title] = SplitEntry(opt.text);
  opt.text.clear();
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  // Background, selection and focus frame as the style draws them.
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

  const int row = index.row();
  const bool selected = opt.state & QStyle::State_Selected;
  QPalette::ColorGroup group =
      opt.state & QStyle::State_Enabled
          ? (opt.state & QStyle::State_Active ? QPalette::Normal
                                              : QPalette::Inactive)
          : QPalette::Disabled;
  if (Greyed(row) && !selected) group = QPalette::Disabled;
  const Columns c = ColumnsOf(opt);
  painter->save();
  painter->setFont(opt.font);
  painter->setPen(opt.palette.color(
      group, selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(c.layer, Qt::AlignRight | Qt::AlignVCenter, layer);
  painter->drawText(
      c.title, Qt::AlignLeft | Qt::AlignVCenter,
      opt.fontMetrics.elidedText(title, Qt::ElideRight, c.title.width()));
  if (Marked(row)) warning_.paint(painter, c.mark);
  painter->restore();
}

QSize TitleListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  QStyleOptionViewItem opt(option);
  initStyleOption(&opt, index);
  const QSize base = QStyledItemDelegate::sizeHint(option, index);
  opt.rect = QRect(QPoint(0, 0), base);
  const QString title = SplitEntry(opt.text).second;
  return QSize(ColumnsOf(opt).title.left() +
                   opt.fontMetrics.horizontalAdvance(title) + 3,
               base.height());
}

bool TitleListDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                  const QStyleOptionViewItem& option,
                                  const QModelIndex& index) {
  if (!event || !view || event->type() != QEvent::ToolTip)
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  const QString problems = ProblemsText(index.row());
  if (problems.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  // Plain text (it begins with words, never with markup), so that a long
  // path stays on one line.
  QToolTip::showText(event->globalPos(), problems, view,
                     view->visualRect(index));
  return true;
}

}  // namespace sceneshifter

#pragma once

#include <QAbstractListModel>

#include "scenery_document.h"

namespace sceneshifter {

// The title list as a view over the area table: entry i is slot i's layer,
// eight spaces and title, made when the list shows it.
class TitleListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit TitleListModel(const SceneryDocument& doc, QObject* parent = nullptr)
      : QAbstractListModel(parent), doc_(doc) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  // Call after the table changed: every entry is read again.
  void Refill();

 private:
  const SceneryDocument& doc_;
};

}  // namespace sceneshifter

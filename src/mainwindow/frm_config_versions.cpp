// SPDX-License-Identifier: MIT
// Tools > Earlier Versions: the versions that saves kept, and a restore as
// one step of the history.
#include <QFileInfo>
#include <QUndoStack>
#include <functional>
#include <string>
#include <utility>

#include "codepage.h"
#include "frm_config.h"
#include "frm_versions.h"
#include "path_helpers.h"
#include "scenery_reader.h"
#include "scenery_versions.h"
#include "title_list_model.h"

namespace sceneshifter {
namespace {

// A whole table put in place of the open one; undo and redo each swap the
// two, so the step holds whichever table is not shown.
class TableSwap : public QUndoCommand {
 public:
  TableSwap(SceneryDocument& doc, SceneryDocument other,
            std::function<void()> show, const QString& text)
      : QUndoCommand(text),
        doc_(doc),
        other_(std::move(other)),
        show_(std::move(show)) {}

  void undo() override { Swap(); }
  void redo() override { Swap(); }

 private:
  void Swap() {
    std::swap(doc_.HeaderLines, other_.HeaderLines);
    std::swap(doc_.Areas, other_.Areas);
    std::swap(doc_.LastArea, other_.LastArea);
    doc_.FileChanged = true;
    show_();
  }

  SceneryDocument& doc_;
  SceneryDocument other_;
  std::function<void()> show_;
};

}  // namespace

void FrmConfig::MnuVersions_Click() {
  if (!MnuVersions->isEnabled()) return;
  const VersionStore store(HostVersionsFolder());
  std::vector<FrmVersions::Version> versions;
  for (const SceneryVersion& v : store.List(doc_.ConfigFile)) {
    FrmVersions::Version version;
    std::string error;
    version.date = QString::fromStdString(VersionDate(v));
    if (store.Read(v, version.text, error))
      version.areas = VersionAreaCount(version.text);
    versions.push_back(std::move(version));
  }
  if (!versions_) {
    versions_ = new FrmVersions(doc_, this);
    connect(versions_, &FrmVersions::RestoreChosen, this,
            [this] { RestoreVersion(versions_->SelectedText()); });
  }
  versions_->SetVersions(QFileInfo(FromHostPath(doc_.ConfigFile)).fileName(),
                         std::move(versions));
  versions_->show();
  versions_->raise();
  versions_->activateWindow();
}

void FrmConfig::RestoreVersion(const std::string& text) {
  ReadResult read = ReadSceneryBytes(text);
  if (!read.ok) {
    dialogs_.Message(this, QString::fromLatin1(read.error.c_str()),
                     Dialogs::Buttons::Ok, QString(),
                     QString::fromUtf8(read.detail.c_str()));
    return;
  }
  SceneryDocument version;
  AdoptRead(version, std::move(read));
  versions_->close();
  const auto show = [this] {
    model_->Reset();
    const int select = std::min<int>(doc_.CurrentArea, doc_.LastArea);
    SelectListEntry(select);
    if (HasCurrentArea()) FillTextBoxs(static_cast<std::int16_t>(select));
  };
  history_->push(new TableSwap(doc_, std::move(version), show,
                               QStringLiteral("Restore Version")));
}

}  // namespace sceneshifter

// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "area_health.h"
#include "scenery_document.h"

namespace sceneshifter {

// What one check found, with what it was given, so that the window can
// tell which of the list's entries it still describes.
struct HealthResult {
  std::uint64_t generation = 0;
  std::vector<HealthArea> checked;      // entry i as it was checked
  std::vector<AreaProblem> problems;    // by layer
  std::vector<std::uint32_t> rowStart;  // entry i: [rowStart[i], [i + 1])

  // The problems of list entry `row`; none when the entry has changed in a
  // way that could change them since the check began.
  std::span<const AreaProblem> ProblemsOf(int row,
                                          const SceneryDocument& doc) const;
};

// Runs the area health check away from the window's thread, on a copy of
// the table. Only the newest check reports: starting another, or a change
// of the table, makes the running ones stop and drops what they find.
class HealthChecker : public QObject {
  Q_OBJECT
 public:
  using CheckFunction = std::function<HealthReport(
      const HealthSnapshot&, const std::atomic<bool>* cancel)>;

  explicit HealthChecker(QObject* parent = nullptr);
  ~HealthChecker() override;

  // Checks `doc` as it is now.
  void Start(const SceneryDocument& doc);
  // The table has changed: no check running now will report.
  void Supersede();
  std::uint64_t Generation() const { return generation_; }
  // Replaces the check itself (tests hold it back to race it).
  void SetCheckFunction(CheckFunction check) { check_ = std::move(check); }

 signals:
  void Finished(std::shared_ptr<const HealthResult> result);

 private:
  std::uint64_t generation_ = 0;
  std::shared_ptr<std::atomic<bool>> cancel_;
  CheckFunction check_;
  QThreadPool pool_;
};

}  // namespace sceneshifter

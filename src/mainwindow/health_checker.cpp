// SPDX-License-Identifier: MIT
#include "health_checker.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

namespace sceneshifter {

std::span<const AreaProblem> HealthResult::ProblemsOf(
    int row, const SceneryDocument& doc) const {
  if (row < 0 || row >= static_cast<int>(checked.size()) ||
      row >= doc.AreaCount() || !SameHealthInputs(doc.Areas[row], checked[row]))
    return {};
  return std::span<const AreaProblem>(problems).subspan(
      rowStart[row], rowStart[row + 1] - rowStart[row]);
}

HealthChecker::HealthChecker(QObject* parent)
    : QObject(parent),
      cancel_(std::make_shared<std::atomic<bool>>(false)),
      check_([](const HealthSnapshot& s, const std::atomic<bool>* cancel) {
        return CheckAreaHealth(s, cancel);
      }) {
  // A check stuck on an unreachable network drive must not hold up the
  // next one.
  pool_.setMaxThreadCount(4);
}

HealthChecker::~HealthChecker() {
  cancel_->store(true);
  pool_.waitForDone();
}

void HealthChecker::Supersede() {
  ++generation_;
  cancel_->store(true);
  cancel_ = std::make_shared<std::atomic<bool>>(false);
}

void HealthChecker::Start(const SceneryDocument& doc) {
  Supersede();
  const std::uint64_t generation = generation_;
  auto work = [check = check_, cancel = cancel_, generation,
               snapshot = TakeHealthSnapshot(
                   doc)]() mutable -> std::shared_ptr<const HealthResult> {
    HealthReport report = check(snapshot, cancel.get());
    if (report.cancelled) return nullptr;
    auto result = std::make_shared<HealthResult>();
    result->generation = generation;
    result->problems = std::move(report.problems);
    result->checked = std::move(snapshot.areas);
    // Entry i is the area at layer i + 1.
    const int rows = static_cast<int>(result->checked.size());
    std::erase_if(result->problems, [rows](const AreaProblem& p) {
      return p.layer < 1 || p.layer > rows;
    });
    std::stable_sort(
        result->problems.begin(), result->problems.end(),
        [](const auto& a, const auto& b) { return a.layer < b.layer; });
    result->rowStart.assign(result->checked.size() + 1, 0);
    for (const AreaProblem& p : result->problems) ++result->rowStart[p.layer];
    for (std::size_t i = 1; i < result->rowStart.size(); ++i)
      result->rowStart[i] += result->rowStart[i - 1];
    return result;
  };
  using Result = std::shared_ptr<const HealthResult>;
  auto* watcher = new QFutureWatcher<Result>(this);
  connect(watcher, &QFutureWatcher<Result>::finished, this, [this, watcher] {
    const Result result = watcher->result();
    watcher->deleteLater();
    if (result && result->generation == generation_) emit Finished(result);
  });
  watcher->setFuture(QtConcurrent::run(&pool_, std::move(work)));
}

}  // namespace sceneshifter

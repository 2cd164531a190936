#include "session/step_queue.h"

#include <utility>

namespace netglobe {
namespace {

// The traffic layers of a plan, one step each; with log lines (startup) a
// frame shows each group before the next begins. Then the trails, a frame
// and the step that ends the sequence.
void pushtraffic(std::deque<Step>& steps, std::span<const PlannedLayer> plan, Step::Kind finish) {
  bool group = false;
  for (const PlannedLayer& planned : plan) {
    if (planned.logline) {
      if (group) steps.push_back(Step{Step::Render});
      steps.push_back(Step{Step::Log, planned.logline});
      group = true;
    }
    Step build{Step::Traffic};
    build.layer = planned.layer;
    build.size = planned.size;
    steps.push_back(build);
    // The active FIRs and chiefs are in: their image is drawn in a step
    // of its own. Startup draws a frame of each group anyway.
    if (planned.layer == TrafficLayer::Chiefs && finish != Step::FinishStartup) {
      steps.push_back(Step{Step::Gl, nullptr, GlWork::PrepareFrame});
    }
  }
  steps.push_back(Step{Step::Trails});
  steps.push_back(Step{Step::Render});
  steps.push_back(Step{finish});
}

}  // namespace

void StepQueue::begin(std::deque<Step> steps) { steps_ = std::move(steps); }

bool StepQueue::startrefresh(bool started) {
  if (refreshing_ || !started || stopped_) return false;
  refreshing_ = true;
  steps_.push_back(Step{Step::Download});
  return true;
}

bool StepQueue::answered() {
  if (!waiting_ || stopped_) return false;
  waiting_ = false;
  return true;
}

void StepQueue::queueshow(Step::Kind finish, std::span<const PlannedLayer> plan) {
  // The clients of the copy first: each side list's rows are looked up in
  // the index of the copy they come from.
  steps_.push_back(Step{Step::Index});
  // The five side-list routines, each shown before the next is made.
  for (int routine = 1; routine <= 5; ++routine) {
    steps_.push_back(Step{Step::SideList, nullptr, GlWork::None, routine});
  }
  steps_.push_back(Step{Step::ShowNewLists});
  pushtraffic(steps_, plan, finish);
}

void StepQueue::queuefilter(std::span<const PlannedLayer> plan) {
  for (const Step& step : steps_) {
    if (step.kind == Step::ShowNewLists || step.kind == Step::Filter) return;
  }
  if (!started_ && waiting_) return;
  steps_.push_back(Step{Step::Filter});
  pushtraffic(steps_, plan, Step::FinishShow);
}

void StepQueue::clearshow() {
  std::deque<Step> keep;
  for (const Step& step : steps_) {
    if (step.kind == Step::FinishRefresh) refreshing_ = false;
    // A refresh whose download is still queued goes on: its tick set
    // refreshing_, and only its end clears it.
    if (step.kind == Step::Download) keep.push_back(step);
  }
  steps_ = std::move(keep);
  // Traffic cut short half rebuilt stays so until the next show's end:
  // picks wait for it rather than name entries of lists not drawn.
}

Effects StepQueue::runstretch(const Runner& run) {
  Effects out;
  while (!steps_.empty() && !stopped_) {
    const Step step = steps_.front();
    // Log lines begin a group of their own: what came before is shown first.
    const bool logs = step.kind == Step::Log || step.kind == Step::FinishStartup;
    if (logs && (out.logtext || !out.layers.empty() || out.render)) break;
    steps_.pop_front();
    switch (step.kind) {
      case Step::Download: waiting_ = true; break;
      // Until the last layer is rebuilt some are drawn from the lists
      // before: a pick waits for the end rather than name the wrong entry.
      case Step::ShowNewLists:
      case Step::Filter: rebuilding_ = started_; break;
      case Step::FinishStartup: started_ = true; break;
      case Step::FinishRefresh: refreshing_ = false; [[fallthrough]];
      case Step::FinishShow: rebuilding_ = false; break;
      default: break;
    }
    run(step, out);
    if (step.kind == Step::Log || step.kind == Step::SideList || step.kind == Step::Download) {
      break;
    }
    // Each traffic layer of a refresh is a stretch of its own: the window
    // draws and answers between them.
    if (step.kind == Step::Traffic && rebuilding_) break;
    // The window reports back on the image; its report comes before the
    // next steps.
    if (step.kind == Step::Gl && step.gl == GlWork::LoadTexture) break;
  }
  askmore(out);
  return out;
}

void StepQueue::askmore(Effects& out) {
  // One call of next() at a time: however many events run steps before it
  // comes, that one call goes on with all of them.
  out.more = !steps_.empty() && !stopped_ && !pumpasked_;
  pumpasked_ = pumpasked_ || out.more;
}

void StepQueue::stop() {
  stopped_ = true;
  steps_.clear();
  waiting_ = false;
}

}  // namespace netglobe

#pragma once
// Helper threads for renders. A caller that renders again and again (a preview following a
// slider) keeps one set from render to render: on some machines a new thread starts
// milliseconds after it is made, longer than a short render takes.
#include <functional>
#include <memory>

namespace lumen::formula {

class RenderThreads {
public:
    // Starts up to `helpers` threads, fewer when the system refuses more; startHelper runs first
    // on each of them.
    explicit RenderThreads(int helpers, const std::function<void()>& startHelper = {});
    RenderThreads(const RenderThreads&) = delete;
    RenderThreads& operator=(const RenderThreads&) = delete;
    // Stops and joins the helpers; no task may be running.
    ~RenderThreads();

    // Helpers actually running, numbered 1..helpers().
    int helpers() const;
    // Runs task(helper) on every helper and returns at once; the task must outlive the run.
    // One task at a time: finish() comes before the next run. An idle helper keeps looking for
    // work for a short while before it sleeps, so a render that follows closely finds it awake.
    void run(const std::function<void(int helper)>& task);
    void run(std::function<void(int helper)>&&) = delete;  // a temporary task ends before the run
    // Waits until every helper has returned from the task; false when one of them threw.
    bool finish();

private:
    struct Shared;
    std::unique_ptr<Shared> shared_;
};

}  // namespace lumen::formula

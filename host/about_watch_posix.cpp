#include "about_watch.h"

namespace lumen::host {

struct AboutWatch::State {};

AboutWatch::AboutWatch(const std::string&, int) {}
AboutWatch::~AboutWatch() = default;
bool AboutWatch::finish() { return false; }
intptr_t AboutWatch::owner() const { return 0; }

}  // namespace lumen::host

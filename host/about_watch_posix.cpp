#include "about_watch.h"

namespace lumen::host {

struct AboutWatch::State {};

AboutWatch::AboutWatch(const std::string&, int) {}
AboutWatch::~AboutWatch() = default;
bool AboutWatch::finish() { return false; }

}  // namespace lumen::host

#include "ui/model/page_tabs.h"

namespace lumen::ui::model {

PageVisibility showPage(int n) {
    PageVisibility visibility;
    visibility.tabSelection = n;
    visibility.pagesChange = n >= 0 && n < kPageCount;
    if (visibility.pagesChange) visibility.shown[static_cast<size_t>(n)] = true;
    return visibility;
}

}  // namespace lumen::ui::model

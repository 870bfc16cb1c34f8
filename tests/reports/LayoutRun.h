#pragma once

#include "platform/report/Engine.h"

#include <memory>

namespace reports_test {

// A layout created now (its constructor reads the hand-over values and runs its query) and
// the pages of its one run.
template <class Layout> struct LayoutRun {
    std::shared_ptr<Layout> layout;
    std::shared_ptr<const report::Document> doc;
};

template <class Layout> LayoutRun<Layout> runLayout()
{
    LayoutRun<Layout> r;
    r.layout = std::make_shared<Layout>();
    r.doc = report::run(*r.layout);
    return r;
}

} // namespace reports_test

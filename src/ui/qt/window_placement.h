// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>

namespace kelvane {

// `rect` moved (not resized, unless it is larger) so that it lies within `area`.
QRect KeptWithin(const QRect& rect, const QRect& area);

// Where a window whose frame is `size` goes beside its owner's frame `owner`
// within `area`: right of it, else left, else below, else above, lined up
// with the owner. When no side has room for the whole size, the side with
// the most room takes the window shrunk to fit, as long as that leaves at
// least `minimum`; failing that the window overlaps the owner as little as
// it can while it stays within the area.
QRect PlacedBeside(const QRect& owner, const QSize& size, const QSize& minimum, const QRect& area);

} // namespace kelvane

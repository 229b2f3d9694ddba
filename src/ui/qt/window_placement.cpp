// SPDX-License-Identifier: MIT
#include "ui/qt/window_placement.h"

#include <algorithm>
#include <array>

namespace kelvane {
namespace {

enum class Side { Right, Left, Below, Above };

// The free part of `area` on one side of `owner`; empty when there is none.
QRect Room(const QRect& owner, const QRect& area, Side side) {
    QRect room = area;
    switch (side) {
    case Side::Right:
        room.setLeft(owner.right() + 1);
        break;
    case Side::Left:
        room.setRight(owner.left() - 1);
        break;
    case Side::Below:
        room.setTop(owner.bottom() + 1);
        break;
    case Side::Above:
        room.setBottom(owner.top() - 1);
        break;
    }
    return room.isValid() ? room : QRect();
}

// A window of `size` in `room`, against the owner's edge and lined up with it.
QRect PlaceIn(const QRect& room, const QRect& owner, const QSize& size, Side side) {
    QRect placed(owner.topLeft(), size);
    if (side == Side::Right)
        placed.moveLeft(room.left());
    else if (side == Side::Left)
        placed.moveRight(room.right());
    else if (side == Side::Below)
        placed.moveTop(room.top());
    else
        placed.moveBottom(room.bottom());
    return KeptWithin(placed, room);
}

} // namespace

QRect KeptWithin(const QRect& rect, const QRect& area) {
    QRect kept(rect.topLeft(), rect.size().boundedTo(area.size()));
    kept.moveLeft(std::clamp(kept.left(), area.left(), area.right() - kept.width() + 1));
    kept.moveTop(std::clamp(kept.top(), area.top(), area.bottom() - kept.height() + 1));
    return kept;
}

QRect PlacedBeside(const QRect& owner, const QSize& size, const QSize& minimum, const QRect& area) {
    constexpr std::array kSides{Side::Right, Side::Left, Side::Below, Side::Above};
    QRect best;
    long long bestArea = 0;
    for (const Side side : kSides) {
        const QRect room = Room(owner, area, side);
        if (room.isEmpty())
            continue;
        const QSize fitted = size.boundedTo(room.size());
        if (fitted == size)
            return PlaceIn(room, owner, size, side);
        const long long fittedArea = static_cast<long long>(fitted.width()) * fitted.height();
        if (fitted.width() >= minimum.width() && fitted.height() >= minimum.height() &&
            fittedArea > bestArea) {
            best = PlaceIn(room, owner, fitted, side);
            bestArea = fittedArea;
        }
    }
    if (bestArea > 0)
        return best;
    // No side has room enough: start right of the owner and let the area
    // push the window back over it.
    return KeptWithin(QRect(QPoint(owner.right() + 1, owner.top()), size), area);
}

} // namespace kelvane

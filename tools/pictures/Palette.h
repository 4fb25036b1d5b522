#pragma once

#include <QColor>

// The colours of every picture: the editor's blue-violet and its two light tints, with a few
// calm accents for money (gold, green) and for cancelling (red).
namespace Palette {
inline const QColor Violet{74, 67, 163};
inline const QColor VioletDark{50, 44, 120};
inline const QColor VioletMid{116, 109, 210};
inline const QColor VioletSoft{170, 165, 232};
inline const QColor Lavender{218, 218, 255};
inline const QColor LavenderPale{236, 236, 255};
inline const QColor Paper{255, 255, 255};
inline const QColor Gold{244, 187, 68};
inline const QColor GoldDark{201, 138, 32};
inline const QColor GoldLight{252, 222, 140};
inline const QColor Green{44, 152, 104};
inline const QColor GreenLight{200, 236, 214};
inline const QColor Red{214, 70, 64};
inline const QColor Wood{246, 214, 164};
inline const QColor Steel{176, 176, 196};
inline const QColor Rose{236, 130, 140};
} // namespace Palette

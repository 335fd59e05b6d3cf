#pragma once

#include <QFont>

// The small sans-serif font of every control's texts, sized so that the texts fit the
// 240-pixel-wide screen.
QFont DefaultControlFont();

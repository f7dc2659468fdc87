// Icons drawn with QPainter, so the workbench looks the same on a machine
// without an icon theme: the tree's image strip, toolbar fall-backs and the
// application icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace dv::qt {

// The tree's 16-pixel image strip, by image index:
// 0 project root, 1 folder of a loaded module, 2 object, 3 selected object,
// 4 bad object, 5 folder or object of a module that is not loaded.
enum TreeImage { kImgProject = 0, kImgFolder, kImgObject, kImgSelected, kImgBad, kImgUnloaded,
                 kTreeImageCount };
QPixmap treeImage(int index);

// A toolbar icon: the theme's icon of that name when there is one, else a
// drawn glyph for the names the frame uses, else a letter badge.
QIcon toolIcon(const QString& themeName, const QString& tooltip);
// The drawn icon alone (no theme look-up).
QIcon drawnToolIcon(const QString& themeName, const QString& tooltip);

// The application icon (dialog icon controls, window icons).
QIcon appIcon();

}  // namespace dv::qt

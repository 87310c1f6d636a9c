// The bold faces of the windows, named by family with a style hint for systems without it.
#pragma once

#include <QFont>

inline QFont boldFont(const QString &family, int pixelSize, QFont::StyleHint hint)
{
    QFont f(family);
    f.setStyleHint(hint);
    f.setPixelSize(pixelSize);
    f.setBold(true);
    return f;
}

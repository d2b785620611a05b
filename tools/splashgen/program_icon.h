#pragma once
// The program icon: a handful of shapes on a 256-unit square, so one
// drawing gives every PNG size and the scalable SVG of the icon theme.

#include <QByteArray>
#include <QImage>

namespace qtx::tools {

QImage ProgramIconImage(int size);
QByteArray ProgramIconSvg();

} // namespace qtx::tools

#pragma once
// Toolbar pictures, drawn by the program itself.

#include <QIcon>

namespace qtx::app {

enum class ToolIcon { New, Open, Save, Read, Port, Write, About };

QIcon DrawToolIcon(ToolIcon kind);

} // namespace qtx::app

#pragma once
// Captions by ID: widgets and actions carry their text IDs as properties;
// one relabel walks a window and sets captions and tooltips from the
// current language. A language change is one call.

#include <QList>

class QObject;
class QWidget;
class QTabWidget;

namespace qtx::ui {

struct LanguageTexts;

// caption 0 = none, tooltip 0 = none
void SetTextIds(QObject* object, int captionId, int tooltipId = 0);
void SetTabTextIds(QTabWidget* tabs, const QList<int>& captionIds);

// Title, font (texts 20 and 21) and every element's caption and tooltip.
void CaptionLoader(QWidget* window, const LanguageTexts& texts);

// OK = text 101, Cancel = text 102 on the window's dialog buttons.
void SetOkCancelCaptions(QWidget* window, const LanguageTexts& texts);
// The built-in Close and Help captions on buttons named CommandClose and CommandHelp.
void SetCloseHelpCaptions(QWidget* window, const LanguageTexts& texts);

} // namespace qtx::ui

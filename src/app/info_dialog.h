#pragma once
// FrmEMG: the identity and service data the radio itself carries. It only
// shows; nothing typed into it is kept.

#include "image/embedded_info.h"

#include <QDialog>

class QLineEdit;

namespace qtx::app {

struct AppState;

class InfoDialog : public QDialog {
    Q_OBJECT
public:
    InfoDialog(const AppState& state, const EmbeddedInfo& info, QWidget* parent = nullptr);
    QString shown(const char* objectName) const;

signals:
    void helpRequested();
};

// The band texts the viewer lists, for reference.
QStringList InfoBandTexts();

} // namespace qtx::app

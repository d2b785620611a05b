#pragma once
// The import preview: the channels the list brings (added or replacing a
// channel), the findings, and the choice between replacing all channels
// and merging by location. It decides nothing; what each choice does comes
// from the plan of the import.

#include "exchange/channel_csv.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QTableWidget;

namespace qtx::app {

struct AppState;

class ChannelImportDialog : public QDialog {
    Q_OBJECT
public:
    ChannelImportDialog(const AppState& state, const ChannelCsvImport& list, QWidget* parent = nullptr);

    ChannelImportMode mode() const;
    void setMode(ChannelImportMode mode);

    QTableWidget* channelTable() const { return channels_; }
    QTableWidget* findingTable() const { return findings_; }
    QLabel* summary() const { return summary_; }

private:
    void showPlan();

    const AppState& st_;
    const ChannelCsvImport& list_;
    QTableWidget* channels_ = nullptr;
    QTableWidget* findings_ = nullptr;
    QLabel* summary_ = nullptr;
    QRadioButton* replaceAll_ = nullptr;
    QRadioButton* merge_ = nullptr;
};

} // namespace qtx::app

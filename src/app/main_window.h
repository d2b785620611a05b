#pragma once
// frmMain: the tree of the Codeplug's parts, the channel grid, menus,
// toolbar and status bar.

#include <QHash>
#include <QMainWindow>

#include <memory>

class QAbstractButton;
class QAction;
class QMenu;
class QSplitter;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QToolBar;

namespace qtx {
struct CellValue;
} // namespace qtx

namespace qtx::ui {
class Prompter;
} // namespace qtx::ui

namespace qtx::app {

struct AppState;
class ChannelExchange;
struct StepName;
class Commands;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppState& state, ui::Prompter& prompter, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load sequence that runs when the splash closes.
    void load();

    // Title and the whole grid.
    void showListByData();
    // One grid row: the channel numbered `row`, or empty cells.
    void reShowGrid(int row);
    void loadShowTree();
    // After a switch change: the signalling view items and the tree.
    void reShowFun();
    // After a language change.
    void formReload();
    void sizeControls();

    QAction* action(const QString& key) const { return actions_.value(key); }
    QTableWidget* grid() const { return grid_; }
    QTreeWidget* tree() const { return tree_; }
    QToolBar* toolBar() const { return toolBar_; }
    Commands& commands() { return *commands_; }
    ChannelExchange& channelExchange() { return *exchange_; }

    // Opens the channel editor for a grid row (1-203); nothing for others.
    void editChannel(int row);
    // The grid's clipboard commands on a row.
    void copyChannel(int row);
    void cutChannel(int row);
    void pasteChannel(int row);
    // The channels of the selected rows (the current row when none is
    // selected), ascending.
    QList<int> selectedChannels() const;
    // Copy, Cut, Paste, Delete and Move on the selection; one row copies,
    // cuts and pastes as the commands above.
    void copySelection();
    void cutSelection();
    void pasteSelection();
    void deleteSelection();
    void moveSelection(int direction);
    // The menu the grid shows on a right click.
    QMenu* gridMenu() const { return gridMenu_; }
    void revealSwitchMenu();
    // Undo and Redo named after their steps, enabled when there is one.
    void showUndoItems();
    // Asks for a data file and lists how the open Codeplug differs from it.
    void compareWithFile();
    // Title mark for a live Codeplug that differs from the saved one.
    void showModified();
    // The result of the last file or radio command, in the status bar.
    void showStatus(const QString& text);

signals:
    // Commands whose windows and transfers live outside the main window.
    void modelDialogRequested();
    void portDialogRequested();
    void passwordDialogRequested();
    void readRequested();
    void writeRequested();
    void infoReadRequested();
    void printRequested();
    void channelEditorRequested(int row);
    // The option (N4), scan (N10), alarm (N11) or key (N12) editor, by tree node.
    void settingEditorRequested(const QString& node);
    void twoToneEditorRequested();
    void fiveToneEditorRequested();
    void commBookRequested();
    void dtmfEditorRequested();
    void helpRequested();
    void aboutRequested();
    // After the user chose another language (windows relabelled).
    void languageChanged();
    // The window is about to close for good.
    void closing();

protected:
    QMenu* createPopupMenu() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildCentre();
    void styleGrid();
    void buildGridMenu();
    void commitCell(int channel, int column, const CellValue& value);
    void selectChannels(const QList<int>& channels);
    void fillRow(int row);
    void clearRow(int row);
    void onTreeClicked(QTreeWidgetItem* item);
    void setSwitch(int which, bool on);
    QAction* addAction(QMenu* menu, const QString& key, int textId, const QKeySequence& shortcut = {});
    void openHelp();
    void showAbout();
    void showLanguageDialog();
    QString stepText(const StepName& name) const;

    AppState& st_;
    ui::Prompter& prompter_;
    Commands* commands_;
    std::unique_ptr<ChannelExchange> exchange_;
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QTreeWidget* tree_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QAbstractButton* corner_ = nullptr; // above the row headings
    QMenu* gridMenu_ = nullptr;
    bool notNumericShown_ = false;
};

} // namespace qtx::app

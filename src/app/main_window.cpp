#include "app/main_window.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"
#include "app/channel_cell_delegate.h"
#include "app/channel_exchange.h"
#include "app/channel_import_dialog.h"
#include "app/commands.h"
#include "app/compare_dialog.h"
#include "app/icons.h"
#include "app/language_dialog.h"
#include "ui/prompter.h"
#include "app/user_settings.h"
#include "app/window_placement.h"
#include "files/change_tracking.h"
#include "forms/channel_cells.h"
#include "model/channel_list.h"
#include "view/main_view.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>

#include <tuple>

namespace qtx::app {

namespace {

constexpr int kDataRows = kGridRows - 1;

// The frame the window manager gives the window; before the first show it
// is not known yet, so room for a title bar is assumed.
QMargins expectedFrame(const QWidget* w)
{
    const QRect outer = w->frameGeometry();
    const QRect inner = w->geometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    if (known.top() > 0)
        return known;
    return QMargins(0, w->style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
}

double dpiOf(const QWidget* w)
{
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

// Grid rows are channel numbers 1-203; table row r - 1 shows channel r.
int tableRow(int channel) { return channel - 1; }
int channelOfTableRow(int row) { return row + 1; }

} // namespace

MainWindow::MainWindow(AppState& state, ui::Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), st_(state), prompter_(prompter)
{
    setObjectName("frmMain");
    ui::SetHelpTopic(this, "main-window");
    commands_ = new Commands(st_, prompter_, [this] { showListByData(); });
    exchange_ = std::make_unique<ChannelExchange>(
        st_, prompter_, [this] { showListByData(); },
        [this](const ChannelCsvImport& list) -> std::optional<ChannelImportMode> {
            ChannelImportDialog dialog(st_, list, this);
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.mode();
        });
    commands_->setStatusSink([this](const QString& text) { showStatus(text); });
    buildCentre();
    buildMenus();
    buildToolBar();
    statusBar()->setObjectName("sbStatusBar");
    statusBar()->setSizeGripEnabled(true);
    connect(&st_.history, &EditHistory::changed, this, &MainWindow::showUndoItems);
    connect(&st_.history, &EditHistory::restored, this, &MainWindow::showListByData);
    showUndoItems();
}

QString MainWindow::stepText(const StepName& name) const
{
    const QString text = st_.text(name.textId);
    return name.arg.isNull() ? text : text.arg(name.arg);
}

void MainWindow::showUndoItems()
{
    const EditHistory& h = st_.history;
    QAction* undo = action("mnuEditUndo");
    QAction* redo = action("mnuEditRedo");
    undo->setEnabled(h.canUndo());
    redo->setEnabled(h.canRedo());
    undo->setText(h.canUndo() ? st_.text(7542).arg(stepText(h.undoName())) : st_.text(7540));
    redo->setText(h.canRedo() ? st_.text(7543).arg(stepText(h.redoName())) : st_.text(7541));
    // Every edit, undo and redo passes here: the title mark follows.
    showModified();
}

void MainWindow::compareWithFile()
{
    if (const auto comparison = commands_->compareWithFile()) {
        CompareDialog dialog(st_, *comparison, this);
        dialog.exec();
    }
}

MainWindow::~MainWindow() { delete commands_; }

QAction* MainWindow::addAction(QMenu* menu, const QString& key, int textId, const QKeySequence& shortcut)
{
    auto* a = new QAction(this);
    a->setObjectName(key);
    ui::SetTextIds(a, textId);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    menu->addAction(a);
    actions_.insert(key, a);
    return a;
}

void MainWindow::buildMenus()
{
    auto menu = [this](const QString& key, int textId) {
        QMenu* m = menuBar()->addMenu(QString());
        m->setObjectName(key);
        ui::SetTextIds(m, textId);
        menus_.insert(key, m);
        return m;
    };

    QMenu* file = menu("mnuFile", 1000);
    connect(addAction(file, "mnuFileNew", 1001, QKeySequence::New), &QAction::triggered, this,
            [this] { commands_->newCodeplug(); });
    connect(addAction(file, "mnuFileOpen", 1002, QKeySequence::Open), &QAction::triggered, this,
            [this] { commands_->open(); });
    connect(addAction(file, "mnuFileSave", 1003, QKeySequence::Save), &QAction::triggered, this,
            [this] { commands_->save(); });
    connect(addAction(file, "mnuFileSaveAs", 1004), &QAction::triggered, this, [this] { commands_->saveAs(); });
    connect(addAction(file, "mnuFileCompare", 7558), &QAction::triggered, this, &MainWindow::compareWithFile);
    file->addSeparator();
    connect(addAction(file, "mnuFileImportCsv", 7500), &QAction::triggered, this,
            [this] { exchange_->importChannels(); });
    connect(addAction(file, "mnuFileExportCsv", 7501), &QAction::triggered, this,
            [this] { exchange_->exportChannels(); });
    file->addSeparator();
    connect(addAction(file, "mnuFilePrint", 1005, QKeySequence::Print), &QAction::triggered, this,
            [this] { emit printRequested(); });
    file->addSeparator();
    connect(addAction(file, "mnuFileExit", 1006), &QAction::triggered, this, &QWidget::close);

    QMenu* model = menu("MnuModel", 1060);
    connect(addAction(model, "MnuModelInfo", 1061), &QAction::triggered, this, [this] { emit modelDialogRequested(); });

    QMenu* edit = menu("mnuEdit", 1010);
    connect(addAction(edit, "mnuEditUndo", 7540, QKeySequence::Undo), &QAction::triggered, this,
            [this] { st_.history.undo(); });
    QAction* redo = addAction(edit, "mnuEditRedo", 7541);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo, &QAction::triggered, this, [this] { st_.history.redo(); });
    edit->addSeparator();
    connect(addAction(edit, "mnuEditCH", 1011), &QAction::triggered, this,
            [this] { editChannel(grid_->currentColumn() >= 1 ? channelOfTableRow(grid_->currentRow()) : 0); });
    // The setting editors open from their menu item as from their tree node.
    for (const auto& [key, text, node] : std::initializer_list<std::tuple<const char*, int, const char*>>{
             {"MnuViewSetMode", 1021, "N4"}, {"MnuViewScan", 2401, "N10"}, {"MnuViewAlert", 2601, "N11"},
             {"MnuViewKey", 1029, "N12"}})
        connect(addAction(edit, key, text), &QAction::triggered, this,
                [this, node = QString(node)] { emit settingEditorRequested(node); });
    // The signalling editors.
    for (const auto& [key, text] : std::initializer_list<std::pair<const char*, int>>{
             {"MnuViewDTMF", 1023}, {"MnuView2Tone", 1024}, {"MnuView5Tone", 1025}}) {
        QAction* item = addAction(edit, key, text);
        if (QLatin1String(key) == "MnuViewDTMF")
            connect(item, &QAction::triggered, this, [this] { emit dtmfEditorRequested(); });
        else if (QLatin1String(key) == "MnuView2Tone")
            connect(item, &QAction::triggered, this, [this] { emit twoToneEditorRequested(); });
        else
            connect(item, &QAction::triggered, this, [this] { emit fiveToneEditorRequested(); });
    }
    connect(addAction(edit, "MnuCommBook", 1804), &QAction::triggered, this, [this] { emit commBookRequested(); });
    connect(addAction(edit, "MnuEMg", 1028), &QAction::triggered, this, [this] { emit infoReadRequested(); });

    QMenu* set = menu("MnuSet", 1030);
    connect(addAction(set, "MnuSetCom", 1031), &QAction::triggered, this, [this] { emit portDialogRequested(); });
    connect(addAction(set, "MnuSetLanguage", 1032), &QAction::triggered, this, &MainWindow::showLanguageDialog);
    connect(addAction(set, "MnuSetInit", 1033), &QAction::triggered, this, [this] { commands_->initialise(); });
    set->addSeparator();
    QAction* verify = addAction(set, "MnuSetVerify", 7560);
    verify->setCheckable(true);
    st_.verifyAfterWrite = ReadVerifyAfterWrite();
    verify->setChecked(st_.verifyAfterWrite);
    connect(verify, &QAction::toggled, this, [this](bool on) {
        st_.verifyAfterWrite = on;
        WriteVerifyAfterWrite(on);
    });

    QMenu* pro = menu("mnuPro", 1040);
    connect(addAction(pro, "mnuProRead", 1041), &QAction::triggered, this, [this] { emit readRequested(); });
    connect(addAction(pro, "MnuProWrite", 1042), &QAction::triggered, this, [this] { emit writeRequested(); });
    connect(addAction(pro, "MnuProPassWord", 1043), &QAction::triggered, this, [this] { emit passwordDialogRequested(); });

    QMenu* view = menu("MnuView", 1020);
    QAction* toolBarItem = addAction(view, "MnuViewToolBar", 1026);
    toolBarItem->setCheckable(true);
    toolBarItem->setChecked(true);
    connect(toolBarItem, &QAction::toggled, this, [this](bool on) {
        toolBar_->setVisible(on);
        sizeControls();
    });
    QAction* statusItem = addAction(view, "MnuViewStatusBar", 1027);
    statusItem->setCheckable(true);
    statusItem->setChecked(true);
    connect(statusItem, &QAction::toggled, this, [this](bool on) {
        statusBar()->setVisible(on);
        sizeControls();
    });

    QMenu* help = menu("MnuHelp", 1050);
    const struct {
        const char* key;
        int text;
        int which;
    } switches[] = {{"MnuHelpDTMF", 1053, 2}, {"MnuHelp2Tone", 1054, 1}, {"MnuHelp5Tone", 1055, 0}};
    for (const auto& s : switches) {
        QAction* a = addAction(help, s.key, s.text);
        a->setCheckable(true);
        a->setVisible(false);
        const int which = s.which;
        connect(a, &QAction::triggered, this, [this, which](bool on) { setSwitch(which, on); });
    }
    // F1 is context help (the page of the window it is pressed in); this item opens Contents.
    connect(addAction(help, "MnuHelpContent", 1051), &QAction::triggered, this, &MainWindow::openHelp);
    connect(addAction(help, "MnuHelpAbout", 1052), &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::buildToolBar()
{
    toolBar_ = addToolBar(QString());
    toolBar_->setObjectName("tbToolBar");
    toolBar_->setMovable(false);
    const struct {
        const char* key;
        const char* action;
        ToolIcon icon;
    } buttons[] = {
        {"TNewFile", "mnuFileNew", ToolIcon::New},       {"TOpenFile", "mnuFileOpen", ToolIcon::Open},
        {"TSaveFile", "mnuFileSave", ToolIcon::Save},    {"TCommRead", "mnuProRead", ToolIcon::Read},
        {"TCommPort", "MnuSetCom", ToolIcon::Port},      {"TCommWrite", "MnuProWrite", ToolIcon::Write},
        {"TAbout", "MnuHelpAbout", ToolIcon::About},
    };
    for (const auto& b : buttons) {
        QAction* target = actions_.value(b.action);
        auto* a = new QAction(DrawToolIcon(b.icon), QString(), this);
        a->setObjectName(b.key);
        // The button's tooltip is the words of its menu item.
        ui::SetTextIds(a, 0, target->property("qtxText").toInt());
        connect(a, &QAction::triggered, target, &QAction::trigger);
        toolBar_->addAction(a);
        actions_.insert(b.key, a);
        if (b.icon == ToolIcon::Save || b.icon == ToolIcon::Write)
            toolBar_->addSeparator();
    }
}

void MainWindow::buildCentre()
{
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("splitter");
    splitter_->setChildrenCollapsible(false);

    tree_ = new QTreeWidget(splitter_);
    tree_->setObjectName("tvTreeView");
    tree_->setHeaderHidden(true);
    tree_->setMinimumWidth(120);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { onTreeClicked(item); });
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { onTreeClicked(item); });

    grid_ = new ChannelTable(kDataRows, kGridColumns, splitter_);
    grid_->setObjectName("MSFlexGrid1");
    // Whole rows are selected, several at once; F2, typing or a click on a
    // selected cell edits that cell in place.
    grid_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                           QAbstractItemView::SelectedClicked);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setItemDelegate(new ChannelCellDelegate(
        [this](int channel, int column) {
            const TextLookupFn text = [this](int id) { return st_.table.TextLookup(id); };
            return ChannelCellChoices(st_.ws.live, channel, column, st_.switches, text);
        },
        [this](int channel, int column, const CellValue& value) { commitCell(channel, column, value); }, grid_));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    buildGridMenu();
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = grid_->indexAt(at);
        if (index.isValid() && !grid_->selectionModel()->isRowSelected(index.row(), QModelIndex()))
            grid_->setCurrentCell(index.row(), std::max(index.column(), 1));
        gridMenu_->popup(grid_->viewport()->mapToGlobal(at));
    });
    // The channel IDs are the row headings, so they stay in view however
    // far the grid is scrolled; the heading column itself is hidden.
    grid_->verticalHeader()->setSectionsClickable(false);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid_->setWordWrap(false);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column >= 1)
            editChannel(channelOfTableRow(row));
    });

    splitter_->addWidget(tree_);
    splitter_->addWidget(grid_);
    splitter_->setStretchFactor(1, 1);
    setCentralWidget(splitter_);

    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(tree_), static_cast<QWidget*>(grid_)})
        w->installEventFilter(this);
    corner_ = grid_->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_)
        corner_->installEventFilter(this);
    styleGrid();
}

void MainWindow::styleGrid()
{
    const double dpi = dpiOf(this);
    auto width = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    // Widths in twips; the columns left at the grid's default get room for their texts.
    const int widths[kGridColumns] = {600, 1400, 1400, 1300, 900, 1500, 0, 1200, 1400, 1400, 1500, 600};
    const QFontMetrics metrics(grid_->horizontalHeader()->font());
    for (int c = 0; c < kGridColumns; ++c) {
        // A heading longer than its column in this language widens it.
        int textWidth = 0;
        if (const QTableWidgetItem* heading = grid_->horizontalHeaderItem(c))
            for (const QString& line : heading->text().split('\n'))
                textWidth = std::max(textWidth, metrics.horizontalAdvance(line) + 16);
        grid_->setColumnWidth(c, std::max(width(widths[c]), textWidth));
        grid_->setColumnHidden(c, c == 0 || widths[c] == 0);
    }
    grid_->verticalHeader()->setFixedWidth(width(widths[0]));
    // Row headings in the blue of the ID column they replace.
    grid_->verticalHeader()->setStyleSheet("QHeaderView::section { color: rgb(0, 0, 255); }");
    grid_->verticalHeader()->setDefaultSectionSize(QFontMetrics(grid_->font()).height() + 8);
    QHeaderView* header = grid_->horizontalHeader();
    header->setStretchLastSection(true);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setFixedHeight(width(500));
    header->setHighlightSections(false);
    // Heading row text RGB(0, 0, 155).
    header->setStyleSheet("QHeaderView::section { color: rgb(0, 0, 155); }");
}

void MainWindow::load()
{
    // Switch items of the Help menu.
    SignalViewSwitches& sw = st_.switches;
    if (!sw.SwitchMenuShown)
        sw.FiveTone = sw.TwoTone = sw.Dtmf = sw.RadioFlag = 0;
    const bool shown = sw.SwitchMenuShown != 0;
    action("MnuHelpDTMF")->setVisible(shown);
    action("MnuHelp2Tone")->setVisible(shown);
    action("MnuHelp5Tone")->setVisible(shown);
    action("MnuHelpDTMF")->setChecked(shown && sw.Dtmf);
    action("MnuHelp2Tone")->setChecked(shown && sw.TwoTone);
    action("MnuHelp5Tone")->setChecked(shown && sw.FiveTone);
    action("MnuViewDTMF")->setVisible(sw.Dtmf);
    action("MnuView2Tone")->setVisible(sw.TwoTone);
    action("MnuView5Tone")->setVisible(sw.FiveTone);

    ui::CaptionLoader(this, st_);
    showUndoItems();
    action("MnuViewToolBar")->setChecked(true);
    action("MnuViewStatusBar")->setChecked(true);

    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect placed = FitIntoScreen(ReadWindowPlacement(available, dpiOf(this)), available, expectedFrame(this));
    resize(placed.size());
    move(placed.topLeft());

    loadShowTree();
    showListByData();
    styleGrid();
    tree_->resizeColumnToContents(0);
    const int treeWidth = std::max(TwipsToPixels(2400, dpiOf(this)), tree_->columnWidth(0) + 30);
    splitter_->setSizes({treeWidth, width() - treeWidth});
    grid_->setCurrentCell(0, 1);
}

void MainWindow::showListByData()
{
    const TextLookupFn text = [this](int id) { return st_.table.TextLookup(id); };
    setWindowTitle(ui::fromUtf8(MainWindowTitle(st_.modelLabel.toStdString(), st_.ws.live.body.Band,
                                            st_.table.TextLookup(2012), st_.ws.fileName)) +
                   "[*]");
    showModified();
    grid_->setUpdatesEnabled(false);
    for (int c = 0; c < kGridColumns; ++c) {
        auto* item = new QTableWidgetItem(ui::fromUtf8(GridColumnHeading(c, text)));
        grid_->setHorizontalHeaderItem(c, item);
    }
    for (int r = 1; r <= kDataRows; ++r)
        clearRow(r);
    notNumericShown_ = false;
    for (int i = 0; i < st_.ws.live.count(); ++i) {
        const int number = st_.ws.live.channels[i].Number;
        if (number >= 1 && number <= kDataRows)
            fillRow(number);
    }
    grid_->setUpdatesEnabled(true);
}

void MainWindow::clearRow(int row)
{
    const int r = tableRow(row);
    // Odd data rows RGB(255, 250, 250), even ones RGB(250, 250, 255).
    const QColor background = row % 2 ? QColor(255, 250, 250) : QColor(250, 250, 255);
    for (int c = 0; c < kGridColumns; ++c) {
        QTableWidgetItem* item = grid_->item(r, c);
        if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            const bool editable = ChannelCellKind(c) != CellKind::None;
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | (editable ? Qt::ItemIsEditable : Qt::NoItemFlags));
            grid_->setItem(r, c, item);
        }
        item->setBackground(background);
        item->setText(c == 0 ? QString::fromStdString(GridRowHeading(row)) : QString());
        if (c == 0)
            item->setForeground(QColor(0, 0, 255));
    }
    if (!grid_->verticalHeaderItem(r))
        grid_->setVerticalHeaderItem(r, new QTableWidgetItem(QString::fromStdString(GridRowHeading(row))));
}

void MainWindow::fillRow(int row)
{
    const auto pos = FindChannel(st_.ws.live, row);
    if (!pos)
        return;
    const TextLookupFn text = [this](int id) { return st_.table.TextLookup(id); };
    const ChannelCells cells = GridChannelCells(st_.ws.live.channels[*pos], st_.ws.live.body.Band, text);
    if (cells.notNumeric && !notNumericShown_) {
        notNumericShown_ = true;
        prompter_.tell(st_.builtIn(BuiltIn::NotNumeric), ui::Icon::Warning);
    }
    const int r = tableRow(row);
    for (int c = 1; c <= 10; ++c) {
        // Names are the radio's single-byte characters.
        const std::string& t = cells.cells[c];
        grid_->item(r, c)->setText(c == 3 ? ui::fromLatin1(t) : ui::fromUtf8(t));
    }
}

void MainWindow::reShowGrid(int row)
{
    if (row < 1 || row > kDataRows)
        return;
    clearRow(row);
    notNumericShown_ = false;
    fillRow(row);
    showModified();
}

void MainWindow::showModified() { setWindowModified(IsModified(st_.ws)); }

void MainWindow::showStatus(const QString& text) { statusBar()->showMessage(text); }

QMenu* MainWindow::createPopupMenu()
{
    // The toolbar is shown and hidden from the View menu only, so the
    // menu's check mark always tells the truth.
    return nullptr;
}

void MainWindow::loadShowTree()
{
    const TextLookupFn text = [this](int id) { return st_.table.TextLookup(id); };
    const QString selected = tree_->currentItem() ? tree_->currentItem()->data(0, Qt::UserRole).toString() : QString();
    tree_->clear();
    auto* root = new QTreeWidgetItem(tree_, QStringList(st_.modelLabel));
    root->setData(0, Qt::UserRole, "N0");
    for (const TreeNode& node : MainTreeNodes(st_.switches, text)) {
        auto* item = new QTreeWidgetItem(root, QStringList(ui::fromUtf8(node.text)));
        const QString key = QString::fromStdString(node.key);
        item->setData(0, Qt::UserRole, key);
        if (key == selected)
            tree_->setCurrentItem(item);
    }
    root->setExpanded(true);
}

void MainWindow::reShowFun()
{
    action("MnuViewDTMF")->setVisible(st_.switches.Dtmf);
    action("MnuView2Tone")->setVisible(st_.switches.TwoTone);
    action("MnuView5Tone")->setVisible(st_.switches.FiveTone);
    loadShowTree();
}

void MainWindow::formReload()
{
    ui::CaptionLoader(this, st_);
    showUndoItems();
    loadShowTree();
    showListByData();
    styleGrid();
}

void MainWindow::sizeControls()
{
    // The layout of QMainWindow places toolbar, splitter and status bar;
    // only the window's own minimum size is kept here.
    const int minimum = TwipsToPixels(kMinWindowTwips, dpiOf(this));
    setMinimumSize(minimum, minimum);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    sizeControls();
}

void MainWindow::setSwitch(int which, bool on)
{
    int16_t* field = which == 0 ? &st_.switches.FiveTone : which == 1 ? &st_.switches.TwoTone : &st_.switches.Dtmf;
    *field = on ? 1 : 0;
    reShowFun();
}

void MainWindow::revealSwitchMenu()
{
    st_.switches.SwitchMenuShown = 1;
    action("MnuHelpDTMF")->setVisible(true);
    action("MnuHelp2Tone")->setVisible(true);
    action("MnuHelp5Tone")->setVisible(true);
    action("MnuHelpDTMF")->setChecked(st_.switches.Dtmf);
    action("MnuHelp2Tone")->setChecked(st_.switches.TwoTone);
    action("MnuHelp5Tone")->setChecked(st_.switches.FiveTone);
}

void MainWindow::onTreeClicked(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QString key = item->data(0, Qt::UserRole).toString();
    if (key == "N1")
        grid_->setFocus();
    else if (key == "N5")
        emit dtmfEditorRequested();
    else if (key == "N6")
        emit twoToneEditorRequested();
    else if (key == "N7")
        emit fiveToneEditorRequested();
    else if (key == "N8")
        emit commBookRequested();
    else if (key == "N9")
        emit infoReadRequested();
    else if (key == "N4" || key == "N10" || key == "N11" || key == "N12")
        emit settingEditorRequested(key);
}

void MainWindow::editChannel(int row)
{
    if (row < 1 || row > kDataRows)
        return;
    st_.editRow = row;
    emit channelEditorRequested(row);
}

void MainWindow::copyChannel(int row)
{
    st_.clipboardArmed = true;
    st_.clipboard = CopyChannels(st_.ws.live, {row});
}

void MainWindow::cutChannel(int row)
{
    st_.clipboardArmed = true;
    st_.history.edit(ChannelStep(row), [&] {
        ChannelClipboard one;
        CutChannel(st_.ws.live, row, one);
        st_.clipboard.rows = {one.record};
        RepairChannelReferences(st_.ws.live);
    });
    reShowGrid(row);
}

void MainWindow::pasteChannel(int row)
{
    if (!st_.clipboardArmed || st_.clipboard.size() == 0)
        return;
    const int entries = st_.clipboard.size();
    if (entries > 1) {
        // A list replaces what is in use only when the user agrees, once.
        const int replaced = ChannelsReplacedByPaste(st_.ws.live, row, st_.clipboard);
        if (replaced > 0 && prompter_.ask(st_.text(7587).arg(replaced), ui::Buttons::OkCancel, ui::Icon::Question) !=
                                ui::Answer::Ok)
            return;
    }
    ChannelPasteResult result;
    const int count = ChannelPasteCount(row, entries);
    const StepName name = count > 1 ? StepName(kStepPasteRows, QString::number(count)) : ChannelStep(row);
    st_.history.edit(name, [&] {
        result = PasteChannels(st_.ws.live, row, st_.clipboard);
        RepairChannelReferences(st_.ws.live);
    });
    for (int n = row; n < row + count; ++n)
        reShowGrid(n);
    if (entries > 1) {
        QList<int> pasted;
        for (int n = row; n < row + count; ++n)
            pasted << n;
        selectChannels(pasted);
    }
    if (result.dropped > 0)
        showStatus(row > kMemoryChannels ? st_.text(7586).arg(entries) : st_.text(7585).arg(count).arg(entries));
    else if (result.vfoKept)
        showStatus(st_.text(7588));
}

QList<int> MainWindow::selectedChannels() const
{
    QList<int> channels;
    for (const QModelIndex& index : grid_->selectionModel()->selectedRows())
        channels << channelOfTableRow(index.row());
    if (channels.isEmpty() && grid_->currentRow() >= 0)
        channels << channelOfTableRow(grid_->currentRow());
    std::sort(channels.begin(), channels.end());
    return channels;
}

void MainWindow::selectChannels(const QList<int>& channels)
{
    if (channels.isEmpty())
        return;
    const int column = std::max(grid_->currentColumn(), 1);
    grid_->setCurrentCell(tableRow(channels.front()), column);
    QItemSelection selection;
    for (int n : channels)
        selection.select(grid_->model()->index(tableRow(n), 0), grid_->model()->index(tableRow(n), kGridColumns - 1));
    grid_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void MainWindow::copySelection()
{
    const QList<int> channels = selectedChannels();
    if (channels.size() <= 1) {
        if (!channels.isEmpty())
            copyChannel(channels.front());
        return;
    }
    st_.clipboardArmed = true;
    st_.clipboard = CopyChannels(st_.ws.live, {channels.begin(), channels.end()});
    showStatus(st_.text(7599).arg(channels.size()));
}

void MainWindow::cutSelection()
{
    const QList<int> channels = selectedChannels();
    if (channels.size() <= 1) {
        if (!channels.isEmpty())
            cutChannel(channels.front());
        return;
    }
    st_.clipboardArmed = true;
    ChannelDeleteResult result;
    st_.history.edit({kStepCutRows, QString::number(channels.size())}, [&] {
        st_.clipboard = CopyChannels(st_.ws.live, {channels.begin(), channels.end()});
        result = DeleteChannels(st_.ws.live, {channels.begin(), channels.end()});
        RepairChannelReferences(st_.ws.live);
    });
    for (int n : channels)
        reShowGrid(n);
    if (result.vfoKept)
        showStatus(st_.text(7588));
}

void MainWindow::pasteSelection()
{
    if (grid_->currentRow() >= 0)
        pasteChannel(channelOfTableRow(grid_->currentRow()));
}

void MainWindow::deleteSelection()
{
    const QList<int> channels = selectedChannels();
    if (channels.isEmpty())
        return;
    const StepName name =
        channels.size() > 1 ? StepName(kStepDeleteRows, QString::number(channels.size())) : ChannelStep(channels.front());
    ChannelDeleteResult result;
    st_.history.edit(name, [&] {
        result = DeleteChannels(st_.ws.live, {channels.begin(), channels.end()});
        RepairChannelReferences(st_.ws.live);
    });
    for (int n : channels)
        reShowGrid(n);
    if (result.vfoKept)
        showStatus(st_.text(7588));
}

void MainWindow::moveSelection(int direction)
{
    const QList<int> channels = selectedChannels();
    if (channels.isEmpty())
        return;
    const StepName name = channels.size() > 1
                              ? StepName(kStepMoveRows, QString::number(channels.size()))
                              : StepName(kStepMoveChannel, QString::fromStdString(GridRowHeading(channels.front())));
    std::optional<std::vector<int>> moved;
    st_.history.edit(name, [&] { moved = MoveChannels(st_.ws.live, {channels.begin(), channels.end()}, direction); });
    if (!moved) {
        showStatus(st_.text(7592));
        return;
    }
    for (int n : channels) {
        reShowGrid(n);
        reShowGrid(n + direction);
    }
    selectChannels({moved->begin(), moved->end()});
}

void MainWindow::commitCell(int channel, int column, const CellValue& value)
{
    CellResult result;
    st_.history.edit(ChannelStep(channel),
                     [&] { result = ApplyChannelCell(st_.ws.live, channel, column, value, st_.switches); });
    reShowGrid(channel);
    if (result.outcome == CellOutcome::Refused)
        showStatus(result.reasonId ? st_.text(result.reasonId) : QString::fromStdString(result.reasonText));
    else if (result.warnings > 0)
        showStatus(st_.text(2001));
    else
        statusBar()->clearMessage();
}

void MainWindow::buildGridMenu()
{
    gridMenu_ = new QMenu(this);
    gridMenu_->setObjectName("mnuGrid");
    auto item = [this](const char* key, int textId, const QKeySequence& keys, auto run) {
        QAction* a = addAction(gridMenu_, key, textId, keys);
        // The keys are the grid's own; the menu only shows them.
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    item("mnuGridEdit", 1011, {}, [this] { editChannel(channelOfTableRow(grid_->currentRow())); });
    gridMenu_->addSeparator();
    item("mnuGridCut", 7593, QKeySequence(Qt::CTRL | Qt::Key_X), [this] { cutSelection(); });
    item("mnuGridCopy", 7594, QKeySequence(Qt::CTRL | Qt::Key_C), [this] { copySelection(); });
    QAction* paste = item("mnuGridPaste", 7595, QKeySequence(Qt::CTRL | Qt::Key_V), [this] { pasteSelection(); });
    item("mnuGridDelete", 7596, QKeySequence(Qt::Key_Delete), [this] { deleteSelection(); });
    gridMenu_->addSeparator();
    item("mnuGridUp", 7597, QKeySequence(Qt::ALT | Qt::Key_Up), [this] { moveSelection(-1); });
    item("mnuGridDown", 7598, QKeySequence(Qt::ALT | Qt::Key_Down), [this] { moveSelection(1); });
    connect(gridMenu_, &QMenu::aboutToShow, this, [this, paste] { paste->setEnabled(st_.clipboardArmed); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched == corner_) {
        // The corner above the row headings carries the ID column's heading.
        QStyleOptionHeader option;
        option.initFrom(corner_);
        option.rect = corner_->rect();
        option.text = grid_->horizontalHeaderItem(0) ? grid_->horizontalHeaderItem(0)->text() : QString();
        option.textAlignment = Qt::AlignCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.palette.setColor(QPalette::ButtonText, QColor(0, 0, 155));
        QPainter painter(corner_);
        corner_->style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Control) {
        revealSwitchMenu();
        return false;
    }
    // Keys a cell's box leaves unused come up to the grid; they are the box's.
    if (watched != grid_ || static_cast<const ChannelTable*>(grid_)->editing())
        return false;
    const int row = channelOfTableRow(grid_->currentRow());
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
        if (grid_->currentColumn() >= 1)
            editChannel(row);
        return true;
    }
    if (key->modifiers() == Qt::ControlModifier) {
        switch (key->key()) {
        case Qt::Key_C: copySelection(); break;
        case Qt::Key_X: cutSelection(); break;
        case Qt::Key_V: pasteSelection(); break;
        default: break;
        }
        // Any Ctrl key may have removed a channel another setting refers to.
        st_.history.edit(ChannelStep(row), [&] { RepairChannelReferences(st_.ws.live); });
        showModified();
        return key->key() == Qt::Key_C || key->key() == Qt::Key_X || key->key() == Qt::Key_V;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
        deleteSelection();
        return true;
    }
    if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && key->modifiers() == Qt::AltModifier) {
        moveSelection(key->key() == Qt::Key_Up ? -1 : 1);
        return true;
    }
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!commands_->confirmClose()) {
        event->ignore();
        return;
    }
    emit closing();
    // The frame's position and the inner size: what load() gives to
    // move() and resize(), so a start and a close change nothing.
    if (!isMinimized() && !isMaximized())
        WriteWindowPlacement(QRect(pos(), size()), dpiOf(this));
    event->accept();
}

void MainWindow::showLanguageDialog()
{
    LanguageDialog dialog(st_, this);
    if (dialog.exec() == QDialog::Accepted) {
        st_.setLanguage(dialog.chosenLanguage());
        formReload();
        emit languageChanged();
    }
}

void MainWindow::openHelp() { emit helpRequested(); }

void MainWindow::showAbout() { emit aboutRequested(); }

} // namespace qtx::app

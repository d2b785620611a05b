#pragma once
// The help window: the pages of the current language, with their caption
// placeholders put in from the language file. One window serves the whole
// program; it stays usable while a modal editor is open.

#include <QDialog>
#include <QTextBrowser>

class QPushButton;

namespace qtx::app {

struct AppState;

// Pages are read from the folder of the current language; caption
// placeholders are expanded as each page (or a link) is loaded.
class HelpView : public QTextBrowser {
    Q_OBJECT
public:
    HelpView(const AppState& state, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    const AppState& st_;
};

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(const AppState& state, QWidget* parent = nullptr);

    // Shows the page of `topic` ("" or a topic without a page: Contents),
    // above the window the user is working in.
    void showTopic(const QString& topic);
    // The open page again in the current language (after a language change).
    void reload();

    HelpView* view() const { return view_; }
    // File name of the page shown ("index.html"), empty when none was found.
    QString page() const;

private:
    void relabel();
    // Keeps the window usable beside the modal window that is open, and
    // hands it back to `home_` when that one closes.
    void attachTo(QWidget* owner);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    const AppState& st_;
    QWidget* home_;
    HelpView* view_;
    QPushButton* back_;
    QPushButton* forward_;
    QPushButton* contents_;
    QPushButton* close_;
    bool moving_ = false; // between owners: hidden for a moment, not closed
};

// The page file of a topic in `helpDir`: "<topic>.html", or "index.html"
// when there is no such page.
QString HelpPageFile(const QString& helpDir, const QString& topic);

} // namespace qtx::app

#include "signalling/five_tone_special_dialog.h"

#include "forms/key_rules.h"
#include "ui/captions.h"
#include "ui/choice_list.h"
#include "ui/field_filter.h"
#include "ui/help_topic.h"
#include "ui/prompter.h"
#include "ui/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <vector>

namespace qtx::signalling {

namespace {

std::string latin1(const QLineEdit* box) { return box->text().toLatin1().toStdString(); }

} // namespace

FiveToneSpecialDialog::FiveToneSpecialDialog(SpecialCallTarget target, int currentEntry, const QString& ownId,
                                     const ui::LanguageTexts& texts, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), target_(target), ownId_(ownId), texts_(texts), prompter_(prompter)
{
    setObjectName("FrmSpecial");
    ui::SetHelpTopic(this, "five-tone-special");
    build();
    ui::SelectChoice(entry_, OpeningSpecialEntry(currentEntry), 0);
    type_->setCurrentIndex(static_cast<int>(SpecialCallType::Data));
    showFrames();
    type_->setFocus();
}

QString FiveToneSpecialDialog::option(int id) const { return texts_.option(QString::number(id)); }

void FiveToneSpecialDialog::build()
{
    setWindowTitle(option(60062));
    auto* enter = new ui::EnterMovesOn(this);
    auto combo = [this, enter](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->installEventFilter(enter);
        return c;
    };
    auto box = [this](const char* name, int length, KeyRule rule) {
        auto* b = new QLineEdit(this);
        b->setObjectName(name);
        b->setMaxLength(length);
        ui::FieldFilter::install(b, rule);
        return b;
    };

    // The target: an entry of the call list, or the PTT-ID code named by
    // its frame title in the 5-tone editor.
    entry_ = combo("cmbTarget");
    std::vector<int> entries(kSpecialEntryCount);
    for (int i = 0; i < kSpecialEntryCount; ++i)
        entries[i] = i;
    ui::FillChoices(entry_, entries, [](int i) { return QString::number(i); });
    entryLabel_ = new QLabel(option(60063), this);
    entryLabel_->setBuddy(entry_);
    targetLabel_ = new QLabel(this);
    targetLabel_->setObjectName("lblTarget");
    const bool list = target_ == SpecialCallTarget::List;
    if (!list)
        targetLabel_->setText(option(target_ == SpecialCallTarget::PttIdBegin ? 60302 : 60303));

    type_ = combo("cmbCallType");
    type_->addItems({option(60073), "ANI", "PTTID"});

    dataCalled_ = box("txtDataCalled", kCalledCodeLength, CalledCodeKey);
    message_ = box("txtMessage", SpecialMessageLimit(target_), UpperAlnumKey);
    dataFrame_ = new QGroupBox(option(60073), this);
    dataFrame_->setObjectName("fraData");
    auto* data = new QFormLayout(dataFrame_);
    data->addRow(option(60076), dataCalled_);
    data->addRow(option(60077), message_);

    aniCalled_ = box("txtAniCalled", kCalledCodeLength, CalledCodeKey);
    separator_ = combo("cmbSeparator");
    separator_->addItem(option(60318));
    for (char letter : kSpecialSeparators)
        separator_->addItem(QString(QChar(letter)));
    aniFrame_ = new QGroupBox("ANI", this);
    aniFrame_->setObjectName("fraAni");
    auto* ani = new QFormLayout(aniFrame_);
    ani->addRow(option(60076), aniCalled_);
    ani->addRow(option(60313), separator_);

    for (QLineEdit* called : {dataCalled_, aniCalled_})
        called->installEventFilter(this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ui::SetOkCancelCaptions(this, texts_);
    // Enter moves from field to field and presses a focused button; no
    // button is pressed by an Enter meant for a field.
    for (QPushButton* b : {buttons->button(QDialogButtonBox::Ok), buttons->button(QDialogButtonBox::Cancel)})
        b->setAutoDefault(true);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &FiveToneSpecialDialog::commit);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QFormLayout;
    if (list)
        top->addRow(entryLabel_, entry_);
    else
        top->addRow(targetLabel_);
    top->addRow(option(60064), type_);
    entryLabel_->setVisible(list);
    entry_->setVisible(list);
    targetLabel_->setVisible(!list);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addWidget(dataFrame_);
    layout->addWidget(aniFrame_);
    layout->addWidget(buttons);

    connect(type_, &QComboBox::currentIndexChanged, this, &FiveToneSpecialDialog::showFrames);
}

void FiveToneSpecialDialog::showFrames()
{
    dataFrame_->setVisible(ShowsDataFrame(type_->currentIndex()));
    aniFrame_->setVisible(ShowsAniFrame(type_->currentIndex()));
}

bool FiveToneSpecialDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == dataCalled_ || watched == aniCalled_)) {
        // Leaving for Cancel, for another window or a popup is not leaving
        // the box; closing the window is checked once the focus has settled.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool away = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (!away && QApplication::focusWidget() != cancel_) {
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, this, [this, box] { leaveCalledBox(box); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FiveToneSpecialDialog::leaveCalledBox(QLineEdit* box)
{
    if (!isVisible() || !box->isVisible() || result())
        return;
    const std::string message = CalledCodeLeaveMessage(latin1(box));
    if (!message.empty())
        prompter_.tell(texts_.message(QString::fromStdString(message)), ui::Icon::Warning);
}

void FiveToneSpecialDialog::commit()
{
    const int type = type_->currentIndex();
    const QLineEdit* called = ShowsAniFrame(type) ? aniCalled_ : dataCalled_;
    auto code = ComposeSpecialCall(type, latin1(called), latin1(message_), separator_->currentIndex(), target_,
                                   ownId_.toLatin1().toStdString());
    if (!code) {
        if (!code.error().message.empty())
            prompter_.tell(texts_.message(QString::fromStdString(code.error().message)), ui::Icon::Warning);
        return;
    }
    result_ = SpecialCall{target_, ui::ChoiceValue(entry_, entry_->currentIndex()), code.value()};
    accept();
}

} // namespace qtx::signalling

#include "forms/RecordForm.h"

#include "platform/Appearance.h"
#include "platform/BusyPointer.h"
#include "platform/DataCombo.h"
#include "platform/DataGrid.h"
#include "platform/DatePicker.h"
#include "platform/EnterPresses.h"
#include "platform/Messages.h"
#include "platform/Twips.h"
#include "store/Snapshot.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace forms {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::Messages;
using platform::twips::px;

namespace {

// Places in twips shared by every window of this kind.
constexpr int TabTop = 720;
constexpr int FrameHeight = 975;
constexpr int FrameWidth = 8055;
constexpr int FrameMargin = 120;
constexpr int ButtonWidth = 975;
constexpr int ButtonHeight = 615;
constexpr int FirstButtonLeft = 3000;
constexpr int LabelLeft = 120;
constexpr int LabelWidth = 1800;
constexpr int FieldLeft = 2040;
constexpr int BoxHeight = 285;
constexpr int ComboHeight = 315;
constexpr int SinglePageTop = 240;
constexpr int RowPitch = 420;

// View mode must stay readable: the text of a disabled field is dark on a light ground
// (about 10:1), not the style's light grey on light grey.
QPalette readableWhenDisabled(QPalette palette)
{
    const QColor ground(0xf0, 0xf0, 0xf0);
    const QColor text(0x40, 0x40, 0x40);
    palette.setColor(QPalette::Disabled, QPalette::Base, ground);
    palette.setColor(QPalette::Disabled, QPalette::Text, text);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, text);
    return palette;
}

// What the record source's Error event shows. A server that cannot be reached is said so
// first, as every other failure to reach it is, rather than as one more engine error.
QString errorEventText(const store::Status &status)
{
    using Kind = store::Status::Kind;
    if (status.kind() == Kind::Unreachable || status.kind() == Kind::NotConnected)
        return status.message();
    return QStringLiteral("Data error event hit eer:") + status.engineText();
}

// Keeps the button frame inside its tab page, whose width the tab control's own frame decides:
// the same margin on either side, so that the frame's right border shows.
class FrameInsidePage : public QObject
{
public:
    FrameInsidePage(QFrame *frame, QWidget *page) : QObject(frame), m_frame(frame)
    {
        page->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *page, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            const int margin = px(FrameMargin);
            const int width = static_cast<QWidget *>(page)->width() - 2 * margin;
            m_frame->setGeometry(margin, m_frame->y(), width, m_frame->height());
        }
        return false;
    }

private:
    QFrame *m_frame;
};

} // namespace

RecordForm::RecordForm(FormSettings settings, QWidget *parent)
    : QWidget(parent), m_settings(std::move(settings))
{
    setObjectName(m_settings.name);
    m_data1 = new platform::DataControl(m_settings.table, this);
    m_data1->setObjectName(QStringLiteral("Data1"));
    connect(m_data1, &platform::DataControl::reposition, this, &RecordForm::showPosition);
    connect(m_data1, &platform::DataControl::error, this,
            [](const store::Status &status, int *response) {
                Messages::instance().message(errorEventText(status), QString(), Icon::None,
                                             Buttons::Ok);
                *response = 0;
            });
    m_data1->setRecordCheck(
        [this](platform::DataControl::Action action, platform::PendingRecord &record) {
            return checkRecord(action, record);
        });
    buildWindow();
    setPalette(readableWhenDisabled(palette()));
}

void RecordForm::buildWindow()
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (m_settings.closeBox)
        flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
    setWindowFlags(flags);
    setWindowTitle(m_settings.caption);
    setFixedSize(
        platform::twips::size(m_settings.clientTwips.width(), m_settings.clientTwips.height()));
    if (m_settings.singlePage) {
        m_inputPage = this;
        buildButtons(this, SinglePageTop);
        return;
    }
    platform::fillBackground(this, platform::colors::teal());
    auto *title = new QLabel(m_settings.title, this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setAlignment(Qt::AlignCenter);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(14);
    title->setFont(bold);
    title->setStyleSheet(QStringLiteral("color: white;"));
    title->setGeometry(platform::twips::rect(0, 150, m_settings.clientTwips.width(), 450));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->setGeometry(platform::twips::rect(0, TabTop, m_settings.clientTwips.width(),
                                              m_settings.clientTwips.height() - TabTop - 45));
    // The pages are filled once both tabs exist, so that the tab strip has its final height.
    auto *input = new QWidget(m_tabs);
    auto *browse = new QWidget(m_tabs);
    m_tabs->addTab(input, QStringLiteral("FORM INPUT"));
    m_tabs->addTab(browse, QStringLiteral("TAMPILAN"));
    buildInputPage(input);
    buildBrowsePage(browse);
    // A click on either tab redisplays the grid without reading the rows again.
    connect(m_tabs->tabBar(), &QTabBar::tabBarClicked, this, [this] { m_grid->refresh(); });
}

void RecordForm::buildInputPage(QWidget *page)
{
    m_inputPage = page;
    m_inputPage->setObjectName(QStringLiteral("pageInput"));
    const int tabHeight = m_settings.clientTwips.height() - TabTop - 45;
    auto *frame = new QFrame(m_inputPage);
    frame->setObjectName(QStringLiteral("Frame2"));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    place(frame, FrameMargin, tabHeight - FrameHeight - 120, FrameWidth, FrameHeight);
    new FrameInsidePage(frame, page);
    buildButtons(frame, 180);
}

void RecordForm::buildButtons(QWidget *parent, int top)
{
    // On a single page the navigator has a row of its own above the buttons.
    const bool ownRow = parent == this;
    const int navigatorTop = ownRow ? 0 : top + (ButtonHeight - 375) / 2;
    const int buttonTop = ownRow ? 0 : top;
    const int left = ownRow ? 240 : FirstButtonLeft;
    m_data1->setParent(parent);
    m_data1->setGeometry(platform::twips::rect(120, navigatorTop, ownRow ? 3000 : 2760, 375));
    m_add = addButton(parent, QStringLiteral("cmdTambah"), QStringLiteral("&Tambah"),
                      QStyle::SP_FileDialogNewFolder, left, buttonTop);
    m_save = addButton(parent, QStringLiteral("cmdSimpan"), QStringLiteral("&Simpan"),
                       QStyle::SP_DialogSaveButton, left, buttonTop);
    m_change = addButton(parent, QStringLiteral("cmdRubah"), QStringLiteral("&Ubah"),
                         QStyle::SP_FileDialogDetailedView, left + ButtonWidth, buttonTop);
    m_cancel = addButton(parent, QStringLiteral("Command1"), QStringLiteral("&Cancel"),
                         QStyle::SP_DialogCancelButton, left + ButtonWidth, buttonTop);
    addButton(parent, QStringLiteral("cmdHapus"), QStringLiteral("&Hapus"), QStyle::SP_TrashIcon,
              left + 2 * ButtonWidth, buttonTop);
    addButton(parent, QStringLiteral("cmdCari"), QStringLiteral("&Cari"),
              QStyle::SP_FileDialogContentsView, left + 3 * ButtonWidth, buttonTop);
    addButton(parent, QStringLiteral("cmdKeluar"), QStringLiteral("&Keluar"),
              QStyle::SP_DialogCloseButton, left + 4 * ButtonWidth, buttonTop);
    connect(m_add, &QToolButton::clicked, this, &RecordForm::add);
    connect(m_save, &QToolButton::clicked, this, &RecordForm::save);
    connect(m_change, &QToolButton::clicked, this, &RecordForm::change);
    connect(m_cancel, &QToolButton::clicked, this, &RecordForm::cancel);
    connect(findChild<QToolButton *>(QStringLiteral("cmdHapus")), &QToolButton::clicked, this,
            &RecordForm::remove);
    connect(findChild<QToolButton *>(QStringLiteral("cmdCari")), &QToolButton::clicked, this,
            &RecordForm::search);
    connect(findChild<QToolButton *>(QStringLiteral("cmdKeluar")), &QToolButton::clicked, this,
            &QWidget::close);
}

QToolButton *RecordForm::addButton(QWidget *parent, const QString &name, const QString &text,
                                   int icon, int left, int top)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    button->setIconSize(QSize(16, 16));
    QFont small = button->font();
    small.setPointSizeF(8);
    button->setFont(small);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(platform::twips::rect(left, top, ButtonWidth, ButtonHeight));
    button->setFocusPolicy(Qt::StrongFocus);
    platform::pressOnEnter(button);
    return button;
}

void RecordForm::buildBrowsePage(QWidget *page)
{
    page->setObjectName(QStringLiteral("pageBrowse"));
    auto *criterionLabel = new QLabel(QStringLiteral("Pilih Kriteria"), page);
    criterionLabel->setObjectName(QStringLiteral("Label2"));
    place(criterionLabel, 120, 600, 1260, BoxHeight);
    m_criterion = new QComboBox(page);
    m_criterion->setObjectName(QStringLiteral("Combo1"));
    m_criterion->setEditable(true);
    m_criterion->setInsertPolicy(QComboBox::NoInsert);
    m_criterion->setCompleter(nullptr);
    for (const FormSettings::Criterion &c : m_settings.criteria)
        m_criterion->addItem(c.text);
    m_criterion->setCurrentIndex(-1);
    m_criterion->setEditText(QString());
    place(m_criterion, 1440, 560, 2415, ComboHeight);
    auto *filterLabel = new QLabel(QStringLiteral("Cari"), page);
    filterLabel->setObjectName(QStringLiteral("Label3"));
    place(filterLabel, 4080, 600, 480, BoxHeight);
    m_filterText = new QLineEdit(page);
    m_filterText->setObjectName(QStringLiteral("Text1"));
    place(m_filterText, 4680, 560, 2535, BoxHeight);
    connect(m_filterText, &QLineEdit::textChanged, this, &RecordForm::filter);
    m_grid = new platform::DataGrid(page);
    m_grid->setObjectName(QStringLiteral("DataGrid1"));
    const int tabHeight = m_settings.clientTwips.height() - TabTop - 45;
    place(m_grid, 120, 1080, FrameWidth, tabHeight - 1200);
    m_browseRows = new store::Snapshot(m_settings.browseSource, this);
    m_browseRows->setObjectName(QStringLiteral("Adodc1"));
}

void RecordForm::place(QWidget *widget, int left, int top, int width, int height)
{
    // Places on a tab are measured from the top of the tab control, strip included.
    const int strip =
        m_tabs && widget->parentWidget() != this ? m_tabs->tabBar()->sizeHint().height() : 0;
    const QRect r = platform::twips::rect(left, top, width, height);
    widget->setGeometry(r.translated(0, -strip));
}

template <typename W>
W *RecordForm::addField(const QString &label, const QString &labelName, const QString &name,
                        int widthTwips)
{
    auto *caption = new QLabel(label, m_inputPage);
    caption->setObjectName(labelName);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *field = new W(m_inputPage);
    field->setObjectName(name);
    caption->setBuddy(field);
    field->setProperty("widthTwips", widthTwips);
    field->setProperty("caption", QVariant::fromValue<QObject *>(caption));
    m_fields << field;
    if (!m_settings.placedFields) {
        m_rows << field;
        layOutRows();
    }
    return field;
}

void RecordForm::layOutRows()
{
    const int tabHeight = m_settings.clientTwips.height() - TabTop - 45;
    const int first = m_settings.singlePage ? SinglePageTop : 600;
    const int last = m_settings.singlePage ? first + RowPitch * int(m_rows.size())
                                           : tabHeight - FrameHeight - 240;
    const int pitch =
        m_rows.isEmpty() ? RowPitch : std::min(RowPitch, (last - first) / int(m_rows.size()));
    for (int i = 0; i < m_rows.size(); ++i) {
        QWidget *field = m_rows[i];
        const int top = first + i * pitch;
        const int height = qobject_cast<QComboBox *>(field) ? ComboHeight : BoxHeight;
        place(labelOf(field), LabelLeft, top, LabelWidth, BoxHeight);
        place(field, FieldLeft, top, field->property("widthTwips").toInt(), height);
    }
    if (m_settings.singlePage) {
        // The navigator and the buttons follow the fields.
        const int navigatorTop = first + RowPitch * int(m_rows.size()) + 120;
        m_data1->setGeometry(platform::twips::rect(240, navigatorTop, 3000, 375));
        const QStringList buttons = {"cmdTambah", "cmdSimpan", "cmdRubah", "Command1",
                                     "cmdHapus",  "cmdCari",   "cmdKeluar"};
        const int buttonTop = navigatorTop + 480;
        for (const QString &name : buttons) {
            auto *button = findChild<QToolButton *>(name);
            button->move(button->x(), px(buttonTop));
        }
    }
}

QLabel *RecordForm::labelOf(QWidget *field) const
{
    return qobject_cast<QLabel *>(field->property("caption").value<QObject *>());
}

QLineEdit *RecordForm::addTextField(const QString &label, const QString &labelName,
                                    const QString &name, const QString &field, int widthTwips)
{
    auto *edit = addField<QLineEdit>(label, labelName, name, widthTwips);
    m_data1->bind(edit, field);
    m_modeControls << edit;
    return edit;
}

QComboBox *RecordForm::addListField(const QString &label, const QString &labelName,
                                    const QString &name, const QString &field,
                                    const QStringList &items, int widthTwips)
{
    auto *combo = addField<QComboBox>(label, labelName, name, widthTwips);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    m_data1->bind(combo, field);
    m_modeControls << combo;
    return combo;
}

platform::DatePicker *RecordForm::addDateField(const QString &label, const QString &labelName,
                                               const QString &name, const QString &field,
                                               int widthTwips)
{
    auto *picker = addField<platform::DatePicker>(label, labelName, name, widthTwips);
    m_data1->bind(picker, field);
    m_modeControls << picker;
    return picker;
}

platform::DataCombo *RecordForm::addCodeField(const QString &label, const QString &labelName,
                                              const QString &name, const QString &field,
                                              store::Snapshot *rows, const QString &listColumn,
                                              int widthTwips)
{
    auto *combo = addField<platform::DataCombo>(label, labelName, name, widthTwips);
    combo->setRowSource(rows, listColumn);
    m_data1->bind(combo, field);
    m_modeControls << combo;
    return combo;
}

QLineEdit *RecordForm::addDisplayField(const QString &label, const QString &labelName,
                                       const QString &name, int widthTwips)
{
    auto *edit = addField<QLineEdit>(label, labelName, name, widthTwips);
    edit->setReadOnly(true);
    return edit;
}

void RecordForm::load()
{
    setViewMode();
    if (m_browseRows) {
        m_grid->setSource(m_browseRows);
        const store::Status status = m_browseRows->refresh();
        if (!status.ok())
            reportFailure(status);
    }
    m_data1->open();
    setTabOrder();
    if (!m_settings.singlePage)
        platform::centreOnScreen(this);
}

void RecordForm::setTabOrder()
{
    // Tab goes through the fields top to bottom, then the navigator, then the buttons.
    QList<QWidget *> chain = m_fields;
    for (QToolButton *button : m_data1->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly))
        chain << button;
    for (const char *name :
         {"cmdTambah", "cmdSimpan", "cmdRubah", "Command1", "cmdHapus", "cmdCari", "cmdKeluar"})
        chain << findChild<QToolButton *>(QString::fromLatin1(name));
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void RecordForm::setEditMode()
{
    for (QWidget *control : m_modeControls)
        control->setEnabled(true);
    m_add->hide();
    m_save->show();
    m_change->hide();
    m_cancel->show();
}

void RecordForm::setViewMode()
{
    for (QWidget *control : m_modeControls)
        control->setEnabled(false);
    m_add->show();
    m_save->hide();
    m_change->show();
    m_cancel->hide();
}

void RecordForm::reportFailure(const store::Status &status)
{
    Messages::instance().message(status.message(), QString(), Icon::Information, Buttons::Ok);
}

void RecordForm::report(const platform::Outcome &outcome)
{
    if (outcome.kind() == platform::Outcome::Kind::Failed)
        reportFailure(outcome.status());
    else
        m_data1->tell(outcome);
}

void RecordForm::add()
{
    setEditMode();
    const platform::Outcome added = m_data1->addNew();
    if (!added.ok()) {
        report(added);
        return;
    }
    afterAddNew();
    if (m_focusTarget)
        m_focusTarget->setFocus();
}

void RecordForm::change()
{
    setEditMode();
    const store::Status status = m_data1->edit();
    if (!status.ok()) {
        reportFailure(status);
        return;
    }
    if (m_focusTarget)
        m_focusTarget->setFocus();
}

void RecordForm::save()
{
    // Nothing pending and nothing typed (a move or a search stored it): nothing to write.
    if (!m_data1->isEditing() && !m_data1->hasChanges()) {
        setViewMode();
        return;
    }
    // A record not written stays pending so that it can be corrected and saved again.
    const platform::Outcome written = m_data1->update();
    if (!written.ok()) {
        report(written);
        return;
    }
    // The record is stored from here on: a step after it that fails is reported on its own.
    const store::Status later = refreshAfterSave();
    Messages::instance().message(QStringLiteral("Data sudah Disimpan!"),
                                 QStringLiteral("Simpan Data"), Icon::Information, Buttons::Ok);
    if (!later.ok())
        reportFailure(later);
    setViewMode();
}

store::Status RecordForm::refreshAfterSave()
{
    const platform::busy::Scope busy;
    store::Status status = m_data1->refresh();
    if (status.ok() && m_browseRows) {
        m_grid->refresh();
        status = m_browseRows->refresh();
    }
    afterSaveRefresh();
    if (!status.ok())
        return status;
    return m_data1->moveLast().status();
}

void RecordForm::cancel()
{
    // Cancel writes nothing: whatever the boxes hold that is not stored is dropped, whether
    // a change is pending or typing had only just begun, before the move can write it.
    static_cast<void>(m_data1->cancelUpdate());
    const platform::Outcome moved = m_settings.afterCancel == FormSettings::AfterCancel::First
                                        ? m_data1->moveFirst()
                                        : m_data1->moveLast();
    const bool empty = moved.status().kind() == store::Status::Kind::NoCurrentRecord &&
                       m_data1->recordCount() == 0;
    if (!moved.ok() && !empty)
        report(moved);
    setViewMode();
}

void RecordForm::search()
{
    const QString answer =
        Messages::instance().input(m_settings.searchPrompt, QStringLiteral("Pencarian data"));
    if (answer.isEmpty()) {
        Messages::instance().message(m_settings.emptyAnswer, QStringLiteral("Informasi\""),
                                     Icon::Information, Buttons::Ok);
        return;
    }
    const platform::Outcome found = m_data1->findFirst(m_settings.searchColumn, answer);
    if (!found.ok()) {
        report(found);
        return;
    }
    if (m_data1->noMatch())
        Messages::instance().message(QStringLiteral("Data tidak di temukan "),
                                     QStringLiteral("Cari Data"), Icon::Information, Buttons::Ok);
}

void RecordForm::remove()
{
    const Answer answer =
        Messages::instance().message(QStringLiteral("Apakah Anda Yakin Data akan di Hapus ?"),
                                     QStringLiteral("Hapus Data"), Icon::Question, Buttons::YesNo);
    if (m_data1->recordCount() < 1) {
        Messages::instance().message(QStringLiteral("Data Kosong "), QStringLiteral("Kosong"),
                                     Icon::Information, Buttons::Ok);
        return;
    }
    if (answer == Answer::Yes) {
        platform::Outcome removed = m_data1->remove();
        if (removed.ok())
            removed = m_data1->refresh();
        if (removed.ok() && m_data1->recordCount() > 0)
            removed = m_data1->moveFirst();
        if (!removed.ok())
            report(removed);
    }
}

void RecordForm::filter()
{
    if (!m_browseRows)
        return;
    const QString criterion = m_criterion->currentText();
    for (const FormSettings::Criterion &c : m_settings.criteria) {
        if (c.text != criterion)
            continue;
        const int column = m_browseRows->columnIndex(c.column);
        if (column >= 0) {
            m_browseRows->setFilter(column, m_filterText->text());
            return;
        }
        // A criterion the rows cannot answer shows every row again, without a message.
        if (!m_browseRows->refresh().ok())
            m_browseRows->clearFilter();
        return;
    }
}

void RecordForm::showPosition()
{
    const qint64 position = qint64(m_data1->absolutePosition()) + 1;
    m_data1->setCaption(QStringLiteral("Record :") + QString::number(position));
}

void RecordForm::closeEvent(QCloseEvent *event)
{
    // Changed boxes are written before the window goes; a refused write keeps it open with
    // the changes in place.
    if (!m_data1->raiseClose().ok()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace forms

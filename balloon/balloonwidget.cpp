#include "balloonwidget.h"

#include "balloonaccessible.h"
#include "balloonshape.h"
#include "edgemode.h"
#include "iconwidget.h"
#include "textblocks.h"
#include "textfeeder.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringListModel>

namespace balloon
{

namespace
{

constexpr qreal outlineWidth = 1.5;
// A heading longer than this is cut: it is a title, not the message.
constexpr qsizetype headingLimit = 400;
// Labels are cut to this once, so that eliding them on every repaint costs
// nothing; the list is never wider than a few hundred characters anyway.
constexpr qsizetype labelLimit = 256;
// Accessible names of long texts are cut; the full text stays readable
// through the text view itself.
constexpr qsizetype accessibleTextLimit = 1000;

QString shortened(const QString &s, qsizetype limit)
{
    return s.size() <= limit ? s : s.left(limit) + QChar(0x2026);
}

QString normalizedLineBreaks(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

Qt::Alignment textAlignment(HAlign a)
{
    switch (a) {
    case HAlign::Left:
        return Qt::AlignLeft;
    case HAlign::Right:
        return Qt::AlignRight;
    case HAlign::Center:
        return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

Qt::Alignment captionAlignment(VAlign a)
{
    switch (a) {
    case VAlign::Top:
        return Qt::AlignTop;
    case VAlign::Center:
        return Qt::AlignVCenter;
    case VAlign::Bottom:
        return Qt::AlignBottom;
    }
    return Qt::AlignBottom;
}

QString buttonStyleSheet(const BalloonStyle &s)
{
    return QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid %3;"
                          " border-radius: 5px; padding: 3px 12px; min-width: 48px; }"
                          "QPushButton:hover { background-color: %4; }"
                          "QPushButton:pressed { background-color: %5; }"
                          "QPushButton:focus { border: 2px solid %3; }")
        .arg(s.button.name(), s.buttonCaption.name(), s.frame.name(), s.button.lighter(108).name(),
             s.button.darker(112).name());
}

} // namespace

BalloonWidget::BalloonWidget(const BalloonRequest &request, const BalloonStyle &style, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint), request_(request),
      style_(style)
{
    installBalloonAccessibility();
    setObjectName(QLatin1String(windowName));
    setAccessibleName(request_.heading.isEmpty() ? QStringLiteral("Message")
                                                 : oneLine(request_.heading, headingLimit));
    setAccessibleDescription(normalizedLineBreaks(shortened(request_.text, accessibleTextLimit)));
    setWindowTitle(accessibleName());
    setAttribute(Qt::WA_TranslucentBackground);
    if (request_.onTop) setWindowFlag(Qt::WindowStaysOnTopHint);
    if (request_.modal)
        setWindowModality(Qt::ApplicationModal);
    else
        setAttribute(Qt::WA_ShowWithoutActivating);

    layout_ = new QVBoxLayout(this);
    layout_->setSpacing(8);
    layout_->setSizeConstraint(QLayout::SetNoConstraint);
    buildHeader();
    buildText();
    if (request_.kind == MessageKind::Input) buildInput();
    if (request_.kind == MessageKind::Labels) buildLabels();
    buildButtons();
    setTabOrder();
}

void BalloonWidget::buildHeader()
{
    const bool hasIcon = IconWidget::hasIcon(request_.icon, style_.customIcon);
    if (!hasIcon && request_.heading.isEmpty()) return;
    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    if (hasIcon) {
        icon_ = new IconWidget(request_.icon, style_.customIcon, this);
        row->addWidget(icon_, 0, Qt::AlignTop);
    }
    heading_ = new QLabel(oneLine(request_.heading, headingLimit), this);
    heading_->setObjectName(QLatin1String(headingName));
    heading_->setAccessibleName(heading_->text());
    heading_->setTextFormat(Qt::PlainText);
    heading_->setWordWrap(true);
    heading_->setAlignment(Qt::AlignLeft | captionAlignment(style_.captionAlignment));
    heading_->setMinimumHeight(hasIcon ? IconWidget::iconSize : 0);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    QPalette palette = heading_->palette();
    palette.setColor(QPalette::WindowText, style_.caption);
    heading_->setPalette(palette);
    heading_->setVisible(!request_.heading.isEmpty());
    row->addWidget(heading_, 1);
    layout_->addLayout(row);

    if (!style_.lineSeparator) return;
    separator_ = new QWidget(this);
    separator_->setFixedHeight(1);
    separator_->setAutoFillBackground(true);
    palette = separator_->palette();
    palette.setColor(QPalette::Window, style_.line);
    separator_->setPalette(palette);
    layout_->addWidget(separator_);
}

void BalloonWidget::buildText()
{
    const QString &text = request_.text;
    if (text.isEmpty()) return;
    text_ = new QPlainTextEdit(this);
    // Styled before it holds the text: restyling lays the text out again.
    text_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: transparent; border: none; padding: 0px; color: %1; }")
            .arg(style_.text.name()));
    text_->setObjectName(QLatin1String(textName));
    text_->setAccessibleName(normalizedLineBreaks(shortened(text, accessibleTextLimit)));
    text_->setReadOnly(true);
    text_->setFrameShape(QFrame::NoFrame);
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text_->document()->setDocumentMargin(0);
    QTextOption option = text_->document()->defaultTextOption();
    option.setAlignment(textAlignment(style_.textAlignment));
    text_->document()->setDefaultTextOption(option);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->viewport()->setAutoFillBackground(false);
    text_->setFocusPolicy(Qt::NoFocus);
    text_->viewport()->installEventFilter(this);
    feeder_ = new TextFeeder(text_, text);
    layout_->addWidget(text_);
}

void BalloonWidget::buildInput()
{
    input_ = new QLineEdit(this);
    input_->setObjectName(QLatin1String(inputName));
    input_->setAccessibleName(QStringLiteral("Input"));
    layout_->addWidget(input_);
}

void BalloonWidget::buildLabels()
{
    labels_ = new QListView(this);
    // Styled before it holds the labels: restyling lays every row out again.
    // The padding keeps the first and last labels off the border; the frame
    // width the sizing reads includes it.
    labels_->setStyleSheet(
        QStringLiteral("QListView { background: %1; color: %2; border: 1px solid %3;"
                       " border-radius: 3px; padding: 2px; }")
            .arg(style_.balloon.lighter(104).name(), style_.text.name(), style_.frame.name()));
    labels_->setObjectName(QLatin1String(labelsName));
    labels_->setAccessibleName(QStringLiteral("Labels"));
    labels_->setUniformItemSizes(true);
    labels_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    labels_->setSelectionMode(QAbstractItemView::SingleSelection);
    labels_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    labels_->setTextElideMode(Qt::ElideRight);
    QStringList shown;
    shown.reserve(request_.labels.size());
    for (const QString &label : std::as_const(request_.labels))
        shown.append(oneLine(label, labelLimit));
    auto *model = new QStringListModel(shown, this);
    labels_->setModel(model);
    if (model->rowCount() > 0) labels_->setCurrentIndex(model->index(0));
    connect(labels_, &QListView::doubleClicked, this, &BalloonWidget::pressDefault);
    if (buttonSet(request_.buttonsType).empty())
        connect(labels_, &QListView::clicked, this, [this] { finish(0); });
    layout_->addWidget(labels_);
}

void BalloonWidget::buildButtons()
{
    const auto set = buttonSet(request_.buttonsType);
    if (set.empty()) return;
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    row->addStretch(1);
    const QString sheet = buttonStyleSheet(style_);
    for (ButtonKind kind : set) {
        auto *button = new QPushButton(buttonCaption(kind, style_.language), this);
        button->setObjectName(QLatin1String(buttonNamePrefix) + buttonKeyName(kind));
        button->setAccessibleName(button->text());
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setStyleSheet(sheet);
        const int number = static_cast<int>(kind);
        connect(button, &QPushButton::clicked, this, [this, number] { finish(number); });
        row->addWidget(button);
        buttons_.append(button);
        buttonNumbers_.append(number);
    }
    row->addStretch(1);
    layout_->addLayout(row);
}

void BalloonWidget::setTabOrder()
{
    QWidget *previous = input_ ? static_cast<QWidget *>(input_) : labels_;
    for (QPushButton *button : std::as_const(buttons_)) {
        if (previous) QWidget::setTabOrder(previous, button);
        previous = button;
    }
}

QWidget *BalloonWidget::firstFocus() const
{
    if (input_) return input_;
    if (labels_) return labels_;
    return buttons_.isEmpty() ? nullptr : buttons_.first();
}

void BalloonWidget::placeBeside(const std::optional<QRect> &character, const QList<QRect> &screens)
{
    const QSize size = fitContent(roomBeside(character, screens));
    applyPlacement(placeBalloon(character, size, screens, style_.place));
}

void BalloonWidget::applyPlacement(const Placement &placement)
{
    placement_ = placement;
    const QMargins padding = contentPadding(request_.shape);
    const bool above = isAbove(placement.side);
    layout_->setContentsMargins(padding.left(), padding.top() + (above ? 0 : tailLength), padding.right(),
                                padding.bottom() + (above ? tailLength : 0));
    setFixedSize(placement.rect.size());
    move(placement.rect.topLeft());
    const QPointF target = placement.tailTarget - placement.rect.topLeft();
    outline_ = balloonPath(request_.shape, QSizeF(placement.rect.size()), above, target);
    outlineRegion_ = maskFor(outline_, outlineWidth);
    // Asked on every placement: a compositor may have come or gone since the
    // last balloon.
    if (currentEdgeMode() == EdgeMode::Smooth)
        clearMask(); // the antialiased outline on a transparent window is the shape
    else
        setMask(outlineRegion_);
    update();
}

void BalloonWidget::finish(int button)
{
    if (finished_) return;
    finished_ = true;
    answer_.button = button;
    // The selected label, not the current one: an assistive tool selects
    // without moving the current index.
    if (labels_ && !dismissed_) {
        const QModelIndexList selected = labels_->selectionModel()->selectedIndexes();
        if (!selected.isEmpty()) answer_.label = selected.first().row();
    }
    if (input_) answer_.text = input_->text();
    hide();
    emit finished();
}

void BalloonWidget::dismiss()
{
    if (finished_) return;
    dismissed_ = true;
    finish(escapeButton(buttonSet(request_.buttonsType)));
}

void BalloonWidget::pressDefault()
{
    finish(buttonNumbers_.isEmpty() ? 0 : buttonNumbers_.first());
}

void BalloonWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(style_.frame, outlineWidth));
    painter.setBrush(style_.balloon);
    painter.drawPath(outline_);
}

void BalloonWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (QWidget *w = firstFocus()) w->setFocus(Qt::OtherFocusReason);
    if (request_.modal) {
        raise();
        activateWindow();
    }
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void BalloonWidget::closeEvent(QCloseEvent *event)
{
    dismiss();
    QWidget::closeEvent(event);
}

void BalloonWidget::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        dismiss();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()); button && buttons_.contains(button))
            button->click();
        else
            pressDefault();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void BalloonWidget::mousePressEvent(QMouseEvent *event)
{
    // Without a mask the transparent corners still take clicks; they are not
    // the balloon.
    if (!outlineRegion_.contains(event->position().toPoint())) {
        event->ignore();
        return;
    }
    if (buttons_.isEmpty() && event->button() == Qt::LeftButton)
        dismiss();
    else
        QWidget::mousePressEvent(event);
}

bool BalloonWidget::eventFilter(QObject *watched, QEvent *event)
{
    // Without buttons a click anywhere on the balloon closes it, the text
    // included, unless the user was selecting.
    if (text_ && watched == text_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        buttons_.isEmpty() && !text_->textCursor().hasSelection()) {
        dismiss();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace balloon

#include "editor/widgets/preview_pane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "audio/wave_device_owner.h"
#include "audio/wave_out_device.h"
#include "editor/core/preview_texts.h"
#include "editor/core/resource_edit_session.h"
#include "editor/widgets/message_box.h"
#include "editor/widgets/qt_text.h"

namespace calyx::editor {

CWaveformView::CWaveformView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void CWaveformView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width(), h = height();
    const double middle = (h - 1) / 2.0;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(QPointF(0, middle), QPointF(w, middle));
    if (!preview_ || preview_->columns.empty()) return;

    // Each pixel column takes the extremes of the summary columns under it.
    const auto& columns = preview_->columns;
    const double n = static_cast<double>(columns.size());
    const auto yOf = [&](int value) { return middle - value * middle / 32768.0; };
    painter.setPen(palette().color(QPalette::Highlight));
    for (int x = 0; x < w; ++x) {
        std::size_t first = static_cast<std::size_t>(x * n / w);
        std::size_t last = std::max(first + 1, static_cast<std::size_t>((x + 1) * n / w));
        last = std::min(last, columns.size());
        int low = columns[first].low, high = columns[first].high;
        for (std::size_t c = first + 1; c < last; ++c) {
            low = std::min<int>(low, columns[c].low);
            high = std::max<int>(high, columns[c].high);
        }
        painter.drawLine(QPointF(x, yOf(high)), QPointF(x, yOf(low)));
    }
    if (preview_->looping && preview_->size > 0) {
        painter.setPen(QPen(QColor(200, 40, 40), 1, Qt::DashLine));
        for (const std::uint32_t at : {preview_->loopStart, preview_->loopEnd}) {
            const double x = std::min<double>(w - 1, static_cast<double>(at) * w / preview_->size);
            painter.drawLine(QPointF(x, 0), QPointF(x, h));
        }
    }
}

CPreviewPane::CPreviewPane(LinkTable& links, const GameStrings& strings, InterfaceLanguage language, QWidget* parent)
    : QDockWidget(fromBuiltIn(preview_text::title.in(language)), parent),
      links_(links),
      strings_(strings),
      language_(language) {
    setObjectName("previewPane");
    setAccessibleName(fromBuiltIn(preview_text::title.in(language)));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    name_ = new QLabel(body);
    name_->setObjectName(QStringLiteral("previewName"));
    name_->setWordWrap(true);
    QFont bold = name_->font();
    bold.setBold(true);
    name_->setFont(bold);
    heading_ = new QLabel(body);
    heading_->setWordWrap(true);
    waveform_ = new CWaveformView(body);
    waveform_->setAccessibleName(fromBuiltIn(preview_text::waveform.in(language)));
    waveform_->setPreview(preview_);
    details_ = new QLabel(body);
    loop_ = new QLabel(body);
    // Long texts wrap: the pane keeps its width whatever it shows.
    details_->setWordWrap(true);
    loop_->setWordWrap(true);
    play_ = new QPushButton(fromBuiltIn(preview_text::play.in(language)), body);
    stop_ = new QPushButton(fromBuiltIn(preview_text::stop.in(language)), body);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(play_);
    buttons->addWidget(stop_);
    buttons->addStretch();
    layout->addWidget(name_);
    layout->addWidget(heading_);
    layout->addWidget(waveform_, 1);
    layout->addWidget(details_);
    layout->addWidget(loop_);
    layout->addLayout(buttons);
    setWidget(body);
    connect(play_, &QPushButton::clicked, this, &CPreviewPane::play);
    connect(stop_, &QPushButton::clicked, this, &CPreviewPane::stop);
    view_.onMessage = [](const UiText& text, unsigned style) { messageBox(text, style); };
    showLines();
}

CPreviewPane::~CPreviewPane() = default;

void CPreviewPane::showResource(bank::SoundResource* resource, bank::SoundBank* bank) {
    // The session owns the sound being played: ending it stops the sound.
    session_.reset();
    resource_ = resource && bank ? resource : nullptr;
    bank_ = resource_ ? bank : nullptr;
    refresh();
}

void CPreviewPane::refresh() {
    preview_ = SamplePreview{};
    if (resource_) preview_ = previewResource(*resource_, *bank_, links_, summaryColumns);
    showLines();
    waveform_->update();
}

void CPreviewPane::showLines() {
    name_->setText(resource_ ? fromBuiltIn(previewName(*resource_, *bank_)) : QString());
    name_->setVisible(resource_ != nullptr);
    if (!resource_) {
        heading_->setText(fromBuiltIn(preview_text::nothingSelected.in(language_)));
        details_->clear();
        loop_->clear();
    } else {
        const PreviewLines lines = previewLines(preview_, language_);
        heading_->setText(fromBuiltIn(lines.heading));
        details_->setText(fromBuiltIn(lines.details));
        loop_->setText(fromBuiltIn(lines.loop));
    }
    heading_->setVisible(!heading_->text().isEmpty());
    loop_->setVisible(!loop_->text().isEmpty());
    const bool playable = resource_ && preview_.kind == PreviewKind::Sample && preview_.size > 0;
    play_->setEnabled(playable);
    stop_->setEnabled(playable);
}

void CPreviewPane::play() {
    if (!resource_) return;
    // The edit dialog opened on the resource and left as it opened: "Test
    // current" plays what it would play, at the resource's volume, on the
    // device the resource reaches.
    // The resource reaches the device through its bank's link, as when its
    // dialog opens.
    resource_->setOwner(bank_->deviceLink());
    session_ = std::make_unique<ResourceEditSession>(view_, links_, strings_);
    session_->bind(*resource_, *bank_, resource_->owner());
    session_->initialise();
    session_->testCurrent();
}

void CPreviewPane::stopSound() { session_.reset(); }

bool CPreviewPane::isPlaying() const {
    if (!session_ || !session_->state().playBuffer || !resource_ || !resource_->owner()) return false;
    const audio::WaveDeviceOwner* owner = resource_->owner()->ownerObject;
    const audio::WaveHandle device = owner ? owner->waveHandle() : nullptr;
    return device && device->isPlaying();
}

void CPreviewPane::togglePlay() {
    if (isPlaying()) {
        stop();
    } else if (play_->isEnabled()) {
        play();
    }
}

void CPreviewPane::stop() {
    if (session_) session_->stopTest();
}

QString CPreviewPane::headingText() const { return heading_->text(); }
QString CPreviewPane::nameText() const { return name_->text(); }
QString CPreviewPane::detailsText() const { return details_->text(); }

}  // namespace calyx::editor

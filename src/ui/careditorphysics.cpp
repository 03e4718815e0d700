// The Psyhics page: the car's block of the car script, each value as text and as a slider.

#include "ui/careditordialog.h"

#include "platform/editorerror.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

QWidget *Twnd_caredit::makePhysicsPage() {
    physicsPage_ = new QWidget;
    auto *layout = new QVBoxLayout(physicsPage_);
    auto *area = new QScrollArea(physicsPage_);
    area->setObjectName(QStringLiteral("physicsarea"));
    area->setWidgetResizable(true);
    auto *fields = new QWidget;
    auto *grid = new QGridLayout(fields);
    const auto watchHover = [this](QWidget *control, const QString &help) {
        control->setToolTip(help);
        control->setProperty("help", help);
        control->installEventFilter(this);
    };
    watchHover(fields, PhysicsAreaHelp);
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const PhysicsField &field = PhysicsFields[static_cast<std::size_t>(k)];
        grid->addWidget(new QLabel(QStringLiteral(" %1 ").arg(QLatin1String(field.caption)), fields), k, 0);
        auto *edit = new QLineEdit(fields);
        edit->setObjectName(QStringLiteral("physicsedit%1").arg(k));
        watchHover(edit, QString::fromLatin1(field.help));
        connect(edit, &QLineEdit::textChanged, this, &Twnd_caredit::physicsEditChange);
        grid->addWidget(edit, k, 1);
        auto *slider = new QSlider(Qt::Horizontal, fields);
        slider->setObjectName(QStringLiteral("physicsslider%1").arg(k));
        slider->setRange(field.minimum, field.maximum);
        watchHover(slider, QString::fromLatin1(field.sliderHelp ? field.sliderHelp : field.help));
        connect(slider, &QSlider::valueChanged, this, &Twnd_caredit::physicsSliderChange);
        grid->addWidget(slider, k, 2);
        physicsEdits_[static_cast<std::size_t>(k)] = edit;
        physicsSliders_[static_cast<std::size_t>(k)] = slider;
    }
    turbo_ = new QCheckBox(QStringLiteral(" turbo "), fields);
    turbo_->setObjectName(QStringLiteral("turbo"));
    watchHover(turbo_, TurboHelp);
    grid->addWidget(turbo_, PhysicsFieldCount, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral(" name "), fields), PhysicsFieldCount + 1, 0);
    name_ = new QLineEdit(fields);
    name_->setObjectName(QStringLiteral("name"));
    watchHover(name_, NameHelp);
    connect(name_, &QLineEdit::textChanged, this, &Twnd_caredit::physicsEditChange);
    grid->addWidget(name_, PhysicsFieldCount + 1, 1, 1, 2);
    area->setWidget(fields);
    layout->addWidget(area, 1);
    tips_ = new QLabel(physicsPage_);
    tips_->setObjectName(QStringLiteral("tips"));
    tips_->setWordWrap(true);
    layout->addWidget(tips_);
    return physicsPage_;
}

PhysicsSettings Twnd_caredit::physicsSettings() const {
    PhysicsSettings settings;
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const QSlider *slider = physicsSliders_[static_cast<std::size_t>(k)];
        if (slider->isEnabledTo(physicsPage_))
            settings.positions[static_cast<std::size_t>(k)] = slider->value();
    }
    settings.turbo = turbo_->isChecked();
    settings.name = name_->text();
    return settings;
}

void Twnd_caredit::physicsEditChange() {
    if (sliderGuard_)
        return;
    editGuard_ = true;
    // A value that cannot be read keeps its text, and its slider stays still until it can be.
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        QSlider *slider = physicsSliders_[static_cast<std::size_t>(k)];
        try {
            slider->setValue(editToSlider(k, physicsEdits_[static_cast<std::size_t>(k)]->text()));
            slider->setEnabled(true);
        } catch (const EditorError &) {
            slider->setEnabled(false);
        }
    }
    editGuard_ = false;
}

void Twnd_caredit::physicsSliderChange() {
    if (editGuard_)
        return;
    sliderGuard_ = true;
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        QSlider *slider = physicsSliders_[static_cast<std::size_t>(k)];
        if (slider->isEnabledTo(physicsPage_))
            physicsEdits_[static_cast<std::size_t>(k)]->setText(sliderToEdit(k, slider->value()));
    }
    sliderGuard_ = false;
}

void Twnd_caredit::refuseTypedUnreadableValues() const {
    for (int k = 0; k < PhysicsFieldCount; ++k) {
        const QString text = physicsEdits_[static_cast<std::size_t>(k)]->text();
        if (!physicsSliders_[static_cast<std::size_t>(k)]->isEnabledTo(physicsPage_) &&
            text != shownPhysicsTexts_[static_cast<std::size_t>(k)])
            throw EditorError(
                QStringLiteral("%1: '%2' is not a valid number")
                    .arg(QLatin1String(PhysicsFields[static_cast<std::size_t>(k)].caption), text));
    }
}

// TKvIndicator: a round lamp with a caption, lit in OnColor while active.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace korvel {

class TKvIndicator : public QWidget {
    Q_OBJECT
public:
    explicit TKvIndicator(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QColor OnColor() const { return onColor_; }
    void SetOnColor(const QColor& color);
    QColor OffColor() const { return offColor_; }
    void SetOffColor(const QColor& color);
    bool Active() const { return active_; }
    void SetActive(bool active);
    // The colour the lamp is drawn in now.
    QColor LampColor() const { return active_ ? onColor_ : offColor_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor onColor_{Qt::green};
    QColor offColor_{Qt::lightGray};
    bool active_ = false;
};

}  // namespace korvel

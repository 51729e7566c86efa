#pragma once

#include <QFrame>
#include <QString>

namespace ui::qt {

// A panel: a face of the background colour with a raised bevel of one pixel
// and an optional caption centred on it. Docked children sit inside the bevel.
class Panel : public QFrame {
    Q_OBJECT
public:
    explicit Panel(QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    void setBackground(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};

} // namespace ui::qt

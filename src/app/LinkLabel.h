#pragma once
// A label that looks and acts like a web link but only says clicked(); its text stays plain, so
// a language file can re-caption it like any label.
#include <QLabel>

namespace pellucor::app {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace pellucor::app

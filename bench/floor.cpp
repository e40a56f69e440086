// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit's floor for start-up: one main window with a frame holding three buttons,
// three labels and a plain-text view, all with Chinese text, and nothing else.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("基准窗口"));
    auto* frame = new QGroupBox(QStringLiteral("声卡信息显示"));
    const QStringList buttons{QStringLiteral("显示声卡信息"), QStringLiteral("退 出"),
                              QStringLiteral("键盘信息")};
    for (int i = 0; i < buttons.size(); ++i) {
        (new QPushButton(buttons[i], frame))->setGeometry(8 + i * 100, 330, 90, 33);
    }
    const QStringList labels{QStringLiteral("简易工具，无需盗版。"), QStringLiteral("键盘的类型是"),
                             QStringLiteral("光标闪烁频率")};
    for (int i = 0; i < labels.size(); ++i) {
        (new QLabel(labels[i], frame))->setGeometry(8, 370 + i * 20, 300, 17);
    }
    auto* text = new QPlainTextEdit(QStringLiteral("产品名称："), frame);
    text->setGeometry(8, 16, 449, 313);
    window.setCentralWidget(frame);
    window.resize(467, 440);
    window.show();
    return app.exec();
}

#include "app/shared/DesignControls.h"
#include "app/shared/HoverFeedback.h"
#include "app/shared/ListPane.h"
#include "app/shared/NameListModel.h"
#include "app/shared/OptionButton.h"
#include "app/shared/Twips.h"
#include "app/shared/WindowPointer.h"
#include "tests/app/CursorFile.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Moves the mouse through the window system, so the event reaches the control under the point
// the way a real one does (including propagation to containers).
void moveOnto(QWidget *window, QWidget *target)
{
    QTest::mouseMove(window->windowHandle(), target->mapTo(window, target->rect().center()));
    QCoreApplication::processEvents();
}
} // namespace

class TestSharedWidgets : public QObject
{
    Q_OBJECT

private slots:
    void disabledTextOnWhite_data();
    void disabledTextOnWhite();
    void optionGroup_data();
    void optionGroup();
    void optionUserClick();

    void twipsFollowTheScreen();

    void paneSelectionAndEvents();
    void paneHeadingAndWidth();
    void paneHomeAndEndReachTheEnds_data();
    void paneHomeAndEndReachTheEnds();
    void paneShowsAMillionRows();
    void paneCopiesSelectedRows_data();
    void paneCopiesSelectedRows();

    void pointerSettings();
    void pointerImage_data();
    void pointerImage();

    void hoverRule_data();
    void hoverRule();
};

// Operations on a group of three options (a, b, c) plus d in a child container:
// "+a" setValue(true), "-a" setValue(false). Expected: the states of a b c d, and the clicks.
// The disabled captions on the design's white take the desktop's own disabled text: as it is
// under a light scheme, mirrored in lightness under a dark one, where it is meant for a dark
// ground; a control inside a white container keeps what the container took.
void TestSharedWidgets::disabledTextOnWhite_data()
{
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("disabled");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("light") << QColor(0xf6f5f4) << QColor(Qt::black) << QColor(0x929595) << QColor(0x929595);
    QTest::newRow("dark") << QColor(0x353535) << QColor(Qt::white) << QColor(0x919191) << QColor(0x6e6e6e);
    QTest::newRow("dark, faint") << QColor(0x242424) << QColor(0xeeeeee) << QColor(0x505050) << QColor(0xafafaf);
}

void TestSharedWidgets::disabledTextOnWhite()
{
    QFETCH(QColor, window);
    QFETCH(QColor, text);
    QFETCH(QColor, disabled);
    QFETCH(QColor, expected);
    QPalette scheme;
    scheme.setColor(QPalette::Window, window);
    scheme.setColor(QPalette::WindowText, text);
    scheme.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    QWidget container;
    container.setPalette(scheme);
    DesignControls::paintWhite(&container);
    auto *inside = new QWidget(&container);
    DesignControls::paintWhite(inside);
    QCOMPARE(container.palette().color(QPalette::Disabled, QPalette::WindowText).rgb(), expected.rgb());
    QCOMPARE(inside->palette().color(QPalette::Disabled, QPalette::WindowText).rgb(), expected.rgb());
}

void TestSharedWidgets::optionGroup_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QString>("states");
    QTest::addColumn<QString>("clicks");

    QTest::newRow("on selects and clicks") << QStringList{QStringLiteral("+a")} << "1001"
                                           << "a";
    QTest::newRow("on clears the others") << QStringList{QStringLiteral("+a"), QStringLiteral("+b")} << "0101"
                                          << "ab";
    QTest::newRow("on again raises nothing") << QStringList{QStringLiteral("+a"), QStringLiteral("+a")} << "1001"
                                             << "a";
    QTest::newRow("off clears only this one: none selected")
        << QStringList{QStringLiteral("+a"), QStringLiteral("-a")} << "0001"
        << "a";
    QTest::newRow("off on an unselected one changes nothing")
        << QStringList{QStringLiteral("+a"), QStringLiteral("-b")} << "1001"
        << "a";
    QTest::newRow("a nested group is a group of its own")
        << QStringList{QStringLiteral("+c"), QStringLiteral("-d"), QStringLiteral("+d")} << "0011"
        << "cd";
}

void TestSharedWidgets::optionGroup()
{
    QFETCH(QStringList, operations);
    QFETCH(QString, states);
    QFETCH(QString, clicks);

    QWidget container;
    QGroupBox inner(&container);
    QCheckBox unrelated(&container);
    OptionButton a(QStringLiteral("a"), &container);
    OptionButton b(QStringLiteral("b"), &container);
    OptionButton c(QStringLiteral("c"), &container);
    OptionButton d(QStringLiteral("d"), &inner);
    d.setValue(true);
    const QList<OptionButton *> all = {&a, &b, &c, &d};
    QString clicked;
    for (OptionButton *option : all)
        connect(option, &OptionButton::Click, this, [&clicked, option] { clicked += option->text(); });

    for (const QString &operation : operations) {
        OptionButton *target = all.at(operation.at(1).unicode() - 'a');
        target->setValue(operation.at(0) == QLatin1Char('+'));
    }
    QString actual;
    for (OptionButton *option : all)
        actual += option->value() ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(actual, states);
    QCOMPARE(clicked, clicks);
    QVERIFY(!a.autoExclusive());
}

void TestSharedWidgets::optionUserClick()
{
    QWidget container;
    OptionButton a(QStringLiteral("a"), &container);
    OptionButton b(QStringLiteral("b"), &container);
    a.setGeometry(0, 0, 80, 20);
    b.setGeometry(0, 30, 80, 20);
    QSignalSpy clicksA(&a, &OptionButton::Click);
    QSignalSpy clicksB(&b, &OptionButton::Click);

    const QPoint indicator(8, 10);
    QTest::mouseClick(&a, Qt::LeftButton, {}, indicator);
    QVERIFY(a.value());
    QCOMPARE(clicksA.count(), 1);
    // Clicking the selected option never clears it.
    QTest::mouseClick(&a, Qt::LeftButton, {}, indicator);
    QVERIFY(a.value());
    QCOMPARE(clicksA.count(), 1);
    // The keyboard's click selects as the mouse's does.
    b.setFocus();
    QTest::keyClick(&b, Qt::Key_Space);
    QVERIFY(b.value());
    QVERIFY(!a.value());
    QCOMPARE(clicksB.count(), 1);
}

void TestSharedWidgets::twipsFollowTheScreen()
{
    QWidget widget;
    const double dpi = Twips::dotsPerInch(&widget);
    QVERIFY(dpi > 0);
    QCOMPARE(Twips::toPixels(1440, &widget), qRound(dpi));
    QCOMPARE(Twips::toPixels(8040, &widget), qRound(8040 * dpi / 1440));
    QCOMPARE(Twips::toPixels(0, &widget), 0);
    QWidget child(&widget);
    Twips::place(&child, 120, 570, 7800, 1850);
    QCOMPARE(child.geometry(),
        QRect(Twips::toPixels(120, &widget), Twips::toPixels(570, &widget), Twips::toPixels(7800, &widget),
            Twips::toPixels(1850, &widget)));
    if (qFuzzyCompare(dpi, 96.0)) {
        QCOMPARE(Twips::toPixels(15, &widget), 1);
        QCOMPARE(child.geometry(), QRect(8, 38, 520, 123));
    }
}

void TestSharedWidgets::paneSelectionAndEvents()
{
    NameListModel model;
    model.setNames({QStringLiteral("Aoi"), QStringLiteral("Hiro"), QStringLiteral("Yui")});
    ListPane pane;
    pane.setModel(&model);
    pane.resize(300, 200);
    QSignalSpy keys(&pane, &ListPane::KeyDown);
    QSignalSpy doubleClicks(&pane, &ListPane::DblClick);

    QCOMPARE(pane.entryCount(), 3);
    QCOMPARE(pane.selectedPosition(), std::nullopt);
    QCOMPARE(pane.selectedText(), std::nullopt);
    pane.selectPosition(2);
    QCOMPARE(pane.selectedPosition(), std::optional<int>(2));
    QCOMPARE(pane.selectedText(), std::optional<QString>(QStringLiteral("Hiro")));
    pane.selectPosition(4); // out of range: ignored
    QCOMPARE(pane.selectedPosition(), std::optional<int>(2));

    // Taking the selected entry out selects the one that moves up into its place.
    model.removeAt(2);
    QCOMPARE(pane.selectedPosition(), std::optional<int>(2));
    QCOMPARE(pane.selectedText(), std::optional<QString>(QStringLiteral("Yui")));
    model.setNames({QStringLiteral("Ren")});
    QCOMPARE(pane.selectedPosition(), std::nullopt);

    QTest::keyClick(&pane, Qt::Key_Delete, Qt::ShiftModifier);
    // The Shift key itself comes down first, as any key does.
    QCOMPARE(keys.count(), 2);
    QCOMPARE(keys.at(0).at(0).toInt(), int(Qt::Key_Shift));
    QCOMPARE(keys.at(1).at(0).toInt(), int(Qt::Key_Delete));
    QCOMPARE(keys.at(1).at(1).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));

    // Anywhere on the pane, also below the last entry.
    QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, QPoint(10, pane.viewport()->height() - 5));
    QCOMPARE(doubleClicks.count(), 1);
    // Clicking an entry selects it.
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    const QRect first = pane.visualRect(model.index(0));
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, first.center());
    QCOMPARE(pane.selectedPosition(), std::optional<int>(1));
}

void TestSharedWidgets::paneHeadingAndWidth()
{
    QStringListModel model({QStringLiteral("a")});
    ListPane pane;
    pane.setModel(&model);
    QCOMPARE(pane.columnHeading(), QString());
    pane.addColumnHeading(QStringLiteral("First Names"));
    pane.setColumnWidthTwips(6500);
    QCOMPARE(pane.columnHeading(), QStringLiteral("First Names"));
    QCOMPARE(pane.columnWidth(0), Twips::toPixels(6500, &pane));
    // A list, not a table: no row numbers.
    QVERIFY(pane.verticalHeader()->isHidden());
    QCOMPARE(pane.selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!pane.header()->stretchLastSection());
    QVERIFY(!pane.header()->isHidden());
}

void TestSharedWidgets::paneHomeAndEndReachTheEnds_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("position");
    QTest::newRow("Home") << int(Qt::Key_Home) << 1;
    QTest::newRow("End") << int(Qt::Key_End) << 3;
}

void TestSharedWidgets::paneHomeAndEndReachTheEnds()
{
    QFETCH(int, key);
    QFETCH(int, position);
    QStringListModel model({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    ListPane pane;
    pane.setModel(&model);
    pane.selectPosition(2);
    QTest::keyClick(&pane, static_cast<Qt::Key>(key));
    QCOMPARE(pane.selectedPosition(), std::optional<int>(position));
}

void TestSharedWidgets::paneShowsAMillionRows()
{
    QStringList names;
    names.reserve(1000000);
    for (int i = 0; i < 1000000; ++i)
        names.append(QString::number(i));
    NameListModel model;
    model.setNames(std::move(names));
    ListPane pane;
    pane.setModel(&model);
    pane.resize(300, 200);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QCOMPARE(pane.entryCount(), 1000000);
    pane.selectPosition(1000000);
    pane.scrollToBottom();
    QCOMPARE(pane.selectedText(), std::optional<QString>(QStringLiteral("999999")));
    model.append(QStringLiteral("one more"));
    QCOMPARE(pane.entryCount(), 1000001);
}

// Gestures on a copyable pane of a b c d e: "c2" click row 2, "s4" Shift+click, "k4" Ctrl+click,
// "A" Ctrl+A, "M" the context menu's "Select All"; then Ctrl+C, or the menu's "Copy" (viaMenu).
void TestSharedWidgets::paneCopiesSelectedRows_data()
{
    QTest::addColumn<QString>("gestures");
    QTest::addColumn<bool>("viaMenu");
    QTest::addColumn<QString>("clipboard");

    QTest::newRow("one row") << "c2" << false << "b";
    QTest::newRow("Shift+click range") << "c2 s4" << false << "b\nc\nd";
    QTest::newRow("Shift+click upwards") << "c4 s2" << false << "b\nc\nd";
    QTest::newRow("Ctrl+clicks in list order") << "c5 k1 k3" << false << "a\nc\ne";
    QTest::newRow("Ctrl+click takes a row out") << "c1 s4 k2" << false << "a\nc\nd";
    QTest::newRow("overlapping picks once each") << "c2 s4 k5 k3 k3" << false << "b\nc\nd\ne";
    QTest::newRow("Ctrl+A") << "c3 A" << false << "a\nb\nc\nd\ne";
    QTest::newRow("menu Select All, menu Copy") << "M" << true << "a\nb\nc\nd\ne";
    QTest::newRow("nothing selected keeps the clipboard") << "c2 k2" << false << "before";
}

void TestSharedWidgets::paneCopiesSelectedRows()
{
    QFETCH(QString, gestures);
    QFETCH(bool, viaMenu);
    QFETCH(QString, clipboard);
    NameListModel model;
    model.setNames(
        {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")});
    ListPane pane;
    pane.setModel(&model);
    pane.setRowsCopyable(true);
    pane.resize(300, 300);
    pane.show();
    pane.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&pane));
    pane.setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    QAction *copy = nullptr;
    QAction *selectAll = nullptr;
    for (QAction *action : pane.actions()) {
        if (action->text() == QStringLiteral("Copy"))
            copy = action;
        else if (action->text() == QStringLiteral("Select All"))
            selectAll = action;
    }
    QVERIFY(copy && selectAll);
    QCOMPARE(pane.contextMenuPolicy(), Qt::ActionsContextMenu);

    for (const QString &gesture : gestures.split(QLatin1Char(' '))) {
        if (gesture == QStringLiteral("A")) {
            QTest::keyClick(&pane, Qt::Key_A, Qt::ControlModifier);
        } else if (gesture == QStringLiteral("M")) {
            selectAll->trigger();
        } else {
            const Qt::KeyboardModifiers modifiers = gesture.startsWith(QLatin1Char('s')) ? Qt::ShiftModifier
                : gesture.startsWith(QLatin1Char('k'))                                   ? Qt::ControlModifier
                                                                                         : Qt::NoModifier;
            const QRect row = pane.visualRect(model.index(gesture.mid(1).toInt() - 1));
            QTest::mouseClick(pane.viewport(), Qt::LeftButton, modifiers, row.center());
        }
    }
    if (viaMenu)
        copy->trigger();
    else
        QTest::keyClick(&pane, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void TestSharedWidgets::pointerSettings()
{
    QWidget window;
    WindowPointer pointer(&window);
    QCOMPARE(pointer.value(), WindowPointer::Setting::Normal);
    pointer.setValue(WindowPointer::Setting::Busy);
    QVERIFY(pointer.isBusy());
    QCOMPARE(window.cursor().shape(), Qt::WaitCursor);
    // Without an image the custom setting shows the standard pointer.
    pointer.setValue(WindowPointer::Setting::Custom);
    QCOMPARE(int(pointer.value()), 99);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    pointer.setValue(WindowPointer::Setting::Normal);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
}

void TestSharedWidgets::pointerImage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QPoint>("hotSpot");

    QTest::newRow("cursor file with its hot spot") << cursorFileBytes(12, 1) << true << QPoint(12, 1);
    QByteArray icon = cursorFileBytes(0, 0);
    qToLittleEndian<quint16>(1, icon.data() + 2); // an icon: no hot spot, the centre serves
    QTest::newRow("icon file") << icon << true << QPoint(16, 16);
    QByteArray png;
    {
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::black);
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    QTest::newRow("an image under the cursor's name") << png << true << QPoint(4, 4);
    QTest::newRow("garbage") << QByteArray("not a picture at all") << false << QPoint();
    QTest::newRow("empty file") << QByteArray() << false << QPoint();
    QByteArray truncated = cursorFileBytes(3, 3).left(40);
    QTest::newRow("truncated cursor") << truncated << false << QPoint();
}

void TestSharedWidgets::pointerImage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QFETCH(QPoint, hotSpot);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HAND-M.CUR"));
    writeFile(path, bytes);
    QWidget window;
    WindowPointer pointer(&window);
    pointer.setValue(WindowPointer::Setting::Custom);
    const Outcome outcome = pointer.loadCustomImage(path);
    QCOMPARE(outcome.isOk(), loads);
    QCOMPARE(pointer.hasCustomImage(), loads);
    if (loads) {
        QCOMPARE(window.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(pointer.customCursor().hotSpot(), hotSpot);
    } else {
        QVERIFY(outcome.description().contains(path));
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    }
}

void TestSharedWidgets::hoverRule_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("onto");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("expected");

    const int normal = int(WindowPointer::Setting::Normal);
    const int custom = int(WindowPointer::Setting::Custom);
    const int busy = int(WindowPointer::Setting::Busy);
    QTest::newRow("window to button: hand") << "window"
                                            << "button" << false << custom;
    QTest::newRow("button inside a frame: hand, not the frame's") << "window"
                                                                  << "framedButton" << false << custom;
    QTest::newRow("button back to window: normal") << "button"
                                                   << "window" << false << normal;
    QTest::newRow("button to frame: normal") << "button"
                                             << "frame" << false << normal;
    QTest::newRow("button to pane: normal") << "button"
                                            << "pane" << false << normal;
    QTest::newRow("button to an unregistered control: hand kept") << "button"
                                                                  << "plain" << false << custom;
    QTest::newRow("button to an unregistered control in a frame: hand kept") << "button"
                                                                             << "framedPlain" << false << custom;
    QTest::newRow("busy: button leaves the hourglass") << "window"
                                                       << "button" << true << busy;
    QTest::newRow("busy: frame leaves the hourglass") << "button"
                                                      << "frame" << true << busy;
}

void TestSharedWidgets::hoverRule()
{
    QFETCH(QString, from);
    QFETCH(QString, onto);
    QFETCH(bool, busy);
    QFETCH(int, expected);

    QWidget window;
    window.resize(400, 300);
    auto *button = new QPushButton(QStringLiteral("Go"), &window);
    button->setGeometry(10, 10, 100, 30);
    auto *frame = new QGroupBox(QStringLiteral("Frame"), &window);
    frame->setGeometry(10, 60, 300, 100);
    auto *framedButton = new QPushButton(QStringLiteral("In"), frame);
    framedButton->setGeometry(10, 30, 80, 30);
    auto *framedPlain = new QCheckBox(QStringLiteral("plain"), frame);
    framedPlain->setGeometry(150, 30, 100, 30);
    auto *plain = new QCheckBox(QStringLiteral("plain"), &window);
    plain->setGeometry(150, 10, 100, 30);
    auto *pane = new ListPane(&window);
    pane->setGeometry(10, 180, 200, 100);
    WindowPointer pointer(&window);
    HoverFeedback hover(pointer);
    hover.add(&window, WindowPointer::Setting::Normal);
    hover.add(frame, WindowPointer::Setting::Normal);
    hover.add(pane, WindowPointer::Setting::Normal);
    hover.add(button, WindowPointer::Setting::Custom);
    hover.add(framedButton, WindowPointer::Setting::Custom);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QHash<QString, QWidget *> controls = {{QStringLiteral("window"), &window}, {QStringLiteral("button"), button},
        {QStringLiteral("framedButton"), framedButton}, {QStringLiteral("frame"), frame},
        {QStringLiteral("pane"), pane->viewport()}, {QStringLiteral("plain"), plain},
        {QStringLiteral("framedPlain"), framedPlain}};
    // The window's own centre is covered by the frame: use a free corner of it.
    const auto moveTo = [&](const QString &name) {
        if (name == QLatin1String("window")) {
            QTest::mouseMove(window.windowHandle(), QPoint(380, 290));
            QCoreApplication::processEvents();
        } else {
            moveOnto(&window, controls.value(name));
        }
    };
    moveTo(from);
    if (busy)
        pointer.setValue(WindowPointer::Setting::Busy);
    moveTo(onto);
    QCOMPARE(int(pointer.value()), expected);
}

QTEST_MAIN(TestSharedWidgets)
#include "tst_sharedwidgets.moc"

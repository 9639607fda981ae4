// The board's pictures as a screen reader sees them: named pictures are buttons whose press
// action reaches the window exactly as a mouse click does.

#include "imageaccessible.h"
#include "tchat.h"

#include <QAccessible>
#include <QApplication>
#include <gtest/gtest.h>

namespace {

TEST(ImageAccessibility, NamedPicturesAreButtonsThatPressLikeTheMouse) {
    ImageControl checker;
    checker.resize(30, 30);
    checker.setAccessibleName("White checker on point 13");
    checker.show();
    ImageControl board;
    board.resize(30, 30);
    board.show();

    QAccessibleInterface* named = imageAccessibleFactory("ImageControl", &checker);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->role(), QAccessible::Button);
    EXPECT_EQ(named->text(QAccessible::Name), "White checker on point 13");
    ASSERT_NE(named->actionInterface(), nullptr);
    EXPECT_EQ(named->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});

    QList<Qt::MouseButton> pressed, released;
    QObject::connect(&checker, &ImageControl::pressed,
                     [&](Qt::MouseButton b) { pressed.append(b); });
    QObject::connect(&checker, &ImageControl::released,
                     [&](Qt::MouseButton b) { released.append(b); });
    named->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(pressed, QList<Qt::MouseButton>{Qt::LeftButton});
    EXPECT_EQ(released, QList<Qt::MouseButton>{Qt::LeftButton});

    // A hidden or disabled picture cannot be pressed, as with the mouse.
    checker.setEnabled(false);
    named->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(pressed.size(), 1);

    QAccessibleInterface* unnamed = imageAccessibleFactory("ImageControl", &board);
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(unnamed->role(), QAccessible::Graphic);
    EXPECT_TRUE(unnamed->actionInterface()->actionNames().isEmpty());

    EXPECT_EQ(imageAccessibleFactory("QLabel", &board), nullptr);
    // Handed to Qt, which owns and deletes registered interfaces.
    QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(named));
    QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(unnamed));
}

TEST(ImageAccessibility, TheInstalledFactoryServesTheWindowsPictures) {
    installImageAccessibility();
    ImageControl cup;
    cup.setAccessibleName("Throw the dice");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&cup);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_EQ(iface->text(QAccessible::Name), "Throw the dice");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

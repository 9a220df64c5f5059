// Interface files: outlets by object name, actions by the "action" property, radio matrices by
// tag, and the controls' behaviour through the widgets the user works.
#include <AppKit/AppKit.h>
#include <AppKit/AppKitApplication.h>

#include "TemporaryFolder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QRadioButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const char* const interfaceFile = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <widget class="QWidget" name="root">
  <layout class="QVBoxLayout" name="layout">
   <item><widget class="QComboBox" name="list">
    <property name="action" stdset="0"><string>picked:</string></property>
    <item><property name="text"><string>Alpha</string></property></item>
    <item><property name="text"><string>Beta</string></property></item>
   </widget></item>
   <item><widget class="QWidget" name="choice">
    <property name="class" stdset="0"><string>NSMatrix</string></property>
    <property name="action" stdset="0"><string>chose:</string></property>
    <layout class="QVBoxLayout" name="choiceLayout">
     <item><widget class="QRadioButton" name="first"><property name="tag" stdset="0"><number>5</number></property></widget></item>
     <item><widget class="QRadioButton" name="second"><property name="tag" stdset="0"><number>9</number></property></widget></item>
    </layout>
   </widget></item>
   <item><widget class="QPushButton" name="well"><property name="class" stdset="0"><string>NSColorWell</string></property></widget></item>
   <item><widget class="QPushButton" name="go"><property name="action" stdset="0"><string>go:</string></property></widget></item>
   <item><widget class="QPushButton" name="stray"><property name="action" stdset="0"><string>nobodyHasThis:</string></property></widget></item>
  </layout>
 </widget>
</ui>
)";

struct Owner : NSNibOwner {
    NSComboBox* list = nil;
    NSMatrix* choice = nil;
    NSColorWell* well = nil;
    NSButton* go = nil;
    NSView* missing = nil;
    std::vector<std::string> received;

    void nibConnections(NSNibConnections& connections) override
    {
        connections.outlet("list", list);
        connections.outlet("choice", choice);
        connections.outlet("well", well);
        connections.outlet("go", go);
        connections.outlet("missing", missing);
        connections.action("picked:", [this](id) { received.push_back("picked:"); });
        connections.action("chose:", [this](id) { received.push_back("chose:"); });
        connections.action("go:", [this](id sender) { received.push_back(sender == go ? "go: from go" : "go: from elsewhere"); });
    }
};

class Nib : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppKitEnsureApplication();
        folder.WriteFile("Test.bundle/Contents/Info.plist",
                         "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                         "<string>com.example.nib</string></dict></plist>");
        folder.WriteFile("Test.bundle/Contents/Resources/Main.ui", interfaceFile);
        bundle = NSBundle::bundleWithPath(folder.path() + "/Test.bundle");
        view = NSNib::instantiateNibNamed("Main", bundle, &owner, &error);
        ASSERT_NE(view, nil) << error.utf8();
    }
    void TearDown() override
    {
        if (view)
            delete view->widget();
    }

    TemporaryFolder folder;
    NSBundle* bundle = nil;
    Owner owner;
    NSString error;
    NSView* view = nil;
};

}  // namespace

TEST_F(Nib, OutletsAreConnectedByNameAndGapsAreReported)
{
    ASSERT_NE(owner.list, nil);
    ASSERT_NE(owner.choice, nil);
    ASSERT_NE(owner.well, nil);
    ASSERT_NE(owner.go, nil);
    EXPECT_EQ(owner.missing, nil);
    EXPECT_NE(error.utf8().find("outlet missing"), std::string::npos) << error.utf8();
    EXPECT_NE(error.utf8().find("nobodyHasThis:"), std::string::npos) << error.utf8();
}

TEST_F(Nib, ActionsFollowTheUsersWorkButNotSelectionsFromCode)
{
    auto* combo = qobject_cast<QComboBox*>(owner.list->widget());
    owner.list->selectItemAtIndex(1);
    EXPECT_TRUE(owner.received.empty());
    emit combo->activated(0);
    owner.choice->widget()->findChildren<QRadioButton*>().at(1)->click();
    qobject_cast<QAbstractButton*>(owner.go->widget())->click();
    EXPECT_EQ(owner.received, (std::vector<std::string>{"picked:", "chose:", "go: from go"}));
}

TEST_F(Nib, ComboSelectionAndValues)
{
    EXPECT_EQ(owner.list->numberOfItems(), 2);
    owner.list->selectItemAtIndex(1);
    EXPECT_EQ(owner.list->indexOfSelectedItem(), 1);
    EXPECT_EQ(owner.list->stringValue().utf8(), "Beta");
    EXPECT_EQ(owner.list->objectValueOfSelectedItem()->utf8(), "Beta");
    owner.list->selectItemAtIndex(7);
    EXPECT_EQ(owner.list->indexOfSelectedItem(), -1);
    EXPECT_FALSE(owner.list->objectValueOfSelectedItem().has_value());
}

TEST_F(Nib, MatrixCellsAreSelectedByTagAndReadByRow)
{
    EXPECT_EQ(owner.choice->numberOfRows(), 2);
    EXPECT_EQ(owner.choice->selectedRow(), -1);
    EXPECT_TRUE(owner.choice->selectCellWithTag(9));
    EXPECT_EQ(owner.choice->selectedRow(), 1);
    EXPECT_TRUE(owner.choice->selectCellWithTag(5));
    EXPECT_EQ(owner.choice->selectedRow(), 0);
    EXPECT_EQ(owner.choice->selectedTag(), 5);
    EXPECT_FALSE(owner.choice->selectCellWithTag(3));
    EXPECT_EQ(owner.choice->selectedRow(), 0);
    owner.choice->selectCellAtRow(-1, 0);
    EXPECT_EQ(owner.choice->selectedRow(), -1);
}

TEST_F(Nib, ColorWellKeepsItsColourWhileDisabled)
{
    owner.well->setColor(NSColor::colorWithCalibratedRed(0.2, 0.4, 0.6, 1));
    owner.well->setEnabled(NO);
    EXPECT_FALSE(owner.well->isEnabled());
    EXPECT_DOUBLE_EQ(owner.well->color().blueComponent(), 0.6);
}

TEST(NibLoading, MissingOrBrokenFilesGiveNilWithAReason)
{
    AppKitEnsureApplication();
    TemporaryFolder folder;
    folder.WriteFile("B.bundle/Contents/Resources/Broken.ui", "<ui version=\"4.0\"><widget class=\"QWidget\"");
    NSBundle* bundle = NSBundle::bundleWithPath(folder.path() + "/B.bundle");
    NSString error;
    EXPECT_EQ(NSNib::instantiateNibNamed("Absent", bundle, nullptr, &error), nil);
    EXPECT_NE(error.utf8().find("Absent.ui"), std::string::npos);
    EXPECT_EQ(NSNib::instantiateNibNamed("Broken", bundle, nullptr, &error), nil);
    EXPECT_NE(error.utf8(), "");
    EXPECT_EQ(NSNib::instantiateNibNamed("Main", nil, nullptr, &error), nil);
}

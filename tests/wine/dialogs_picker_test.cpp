// The character picker over the edit dialog, with real windows under Wine.
#include "tests/wine/dialogs_fixture.h"

#include "dialogs/character_picker.h"
#include "dialogs/edit_dialog.h"

namespace {

class CharacterPickerTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    OpenEditDialog();
    SelectOption(EditOutputTextOption);
    UpdateFunctionFields();
  }

  static HWND List() { return ControlHandle(PickerList); }

  static std::string ItemText(int index) {
    char text[16] = {};
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    (void)SendMessageA(List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
    return text;
  }

  static void SetItemSelected(int index, bool selected) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    (void)SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item));
  }

  // "Hinzufügen" as the event loop runs it.
  static void PressAdd() {
    AddPickedCharacter();
    CloseDialog(CharacterPicker, EditDialog);
  }
};

TEST_F(CharacterPickerTest, OpensOverTheEditDialogWithNothingSelected) {
  OpenCharacterPicker();
  HWND picker = WindowHandle(CharacterPicker);
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(WindowText(picker), "Zeichenauswahl");
  EXPECT_EQ(GetWindow(picker, GW_OWNER), WindowHandle(EditDialog));
  EXPECT_EQ(InnerSize(CharacterPicker).cx, 320);
  EXPECT_EQ(InnerSize(CharacterPicker).cy, 370);
  EXPECT_EQ(ChildNumbers(CharacterPicker), (std::vector<int>{301, 302, 303, 304}));
  EXPECT_EQ(ControlText(PickerPrompt),
            "Wählen Sie einen Zeichen aus, das Sie hinzufügen möchten:");
  EXPECT_EQ(ControlText(PickerCancel), "Abbrechen");
  EXPECT_EQ(ControlText(PickerAdd), "Hinzufügen");

  const DWORD style = StyleOf(List());
  EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_ICON));
  EXPECT_NE(style & LVS_SHOWSELALWAYS, 0u);
  EXPECT_NE(style & LVS_SINGLESEL, 0u);
  EXPECT_EQ(SelectedListRow(PickerList), -1);

  EXPECT_TRUE(ControlEnabled(PickerCancel));
  EXPECT_FALSE(ControlEnabled(PickerAdd));
  EXPECT_FALSE(IsWindowEnabled(WindowHandle(EditDialog)));
  EXPECT_FALSE(IsWindowEnabled(WindowHandle(MainWindow)));
  EXPECT_TRUE(IsWindowEnabled(picker));
}

TEST_F(CharacterPickerTest, ListsTheCodes32To255AsSingleBytes) {
  OpenCharacterPicker();
  ASSERT_EQ(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0), 224);
  EXPECT_EQ(ItemText(0), " ");
  EXPECT_EQ(ItemText(223), "\xff");
  for (int index = 0; index < 224; ++index) {
    EXPECT_EQ(ItemText(index), std::string(1, static_cast<char>(index + 32))) << index;
  }
  // The one column that holds the texts has an empty title.
  char title[32] = "x";
  LVCOLUMNA column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = title;
  column.cchTextMax = sizeof title;
  ASSERT_TRUE(SendMessageA(List(), LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)));
  EXPECT_STREQ(title, "");
  EXPECT_EQ(column.cx, 100);
}

TEST_F(CharacterPickerTest, AClickOnACharacterFindsThatCharacter) {
  OpenCharacterPicker();
  RECT client;
  ASSERT_TRUE(GetClientRect(List(), &client));
  int visible = 0;
  for (int index = 0; index < 224; ++index) {
    RECT label = {};
    label.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(List(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&label)));
    if (label.bottom > client.bottom) break;   // scrolled out of sight
    LVHITTESTINFO hit = {};
    hit.pt = {(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    EXPECT_EQ(SendMessageA(List(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), index)
        << "code " << index + 32;
    ++visible;
  }
  EXPECT_GT(visible, 10);
}

TEST_F(CharacterPickerTest, TheListUsesFont1OfTwentyPointsMadeAnewAtEachOpening) {
  OpenCharacterPicker();
  HFONT first = NumberedFont(PickerFont);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0)), first);

  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  (void)ReleaseDC(nullptr, screen);
  LOGFONTA font = {};
  ASSERT_EQ(GetObjectA(first, sizeof font, &font), static_cast<int>(sizeof font));
  EXPECT_EQ(font.lfHeight, -MulDiv(20, pixelsPerInch, 72));
  EXPECT_EQ(font.lfWeight, FW_NORMAL);
  EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
  EXPECT_STREQ(font.lfFaceName, "");

  CloseDialog(CharacterPicker, EditDialog);
  EXPECT_EQ(NumberedFont(PickerFont), first);   // kept after the picker closed
  OpenCharacterPicker();
  HFONT second = NumberedFont(PickerFont);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(List(), WM_GETFONT, 0, 0)), second);
  if (second != first) {
    // The font of the first opening was released, not leaked.
    EXPECT_EQ(GetObjectType(first), 0u);
  }
}

TEST_F(CharacterPickerTest, HinzufuegenFollowsTheSelection) {
  OpenCharacterPicker();
  SetItemSelected(10, true);
  TakeEvent(GadgetEvent, PickerList);   // the list reports the selection
  UpdateAddButton();
  EXPECT_TRUE(ControlEnabled(PickerAdd));
  SetItemSelected(10, false);
  UpdateAddButton();
  EXPECT_FALSE(ControlEnabled(PickerAdd));
}

TEST_F(CharacterPickerTest, HinzufuegenAppendsOneCharacterAtTheEnd) {
  SetControlText(EditTextField, "ab");
  // The caret at the start and a selection do not matter.
  (void)SendMessageA(ControlHandle(EditTextField), EM_SETSEL, 0, 1);

  OpenCharacterPicker();
  SetItemSelected(0xE4 - 32, true);   // "ä"
  UpdateAddButton();
  PressAdd();
  EXPECT_EQ(ControlText(EditTextField), "ab\xe4");
  EXPECT_FALSE(IsWindowOpen(CharacterPicker));
  EXPECT_TRUE(IsWindowEnabled(WindowHandle(EditDialog)));
  EXPECT_FALSE(IsWindowEnabled(WindowHandle(MainWindow)));

  // Typed and picked characters mix; every code keeps its byte.
  for (int code : {32, 128, 129, 141, 255}) {
    OpenCharacterPicker();
    SetItemSelected(code - 32, true);
    PressAdd();
  }
  EXPECT_EQ(ControlText(EditTextField), "ab\xe4 \x80\x81\x8d\xff");
}

TEST_F(CharacterPickerTest, PickedCharactersReachTheRow) {
  capturedKeyCode = 145;
  SetControlText(EditLabelField, "Gruss");
  SetControlText(EditTextField, "mfg ");
  for (int code : {0xDF, 0xA7, 0x80}) {
    OpenCharacterPicker();
    SetItemSelected(code - 32, true);
    PressAdd();
  }
  CompleteEditDialog();
  ASSERT_EQ(MappingCount(), 1);
  EXPECT_EQ(MappingCell(0, 1), "Ausgabe:mfg \xdf\xa7\x80");
  EXPECT_EQ(MappingCell(0, 2), "145");
}

TEST_F(CharacterPickerTest, WithoutSelectionOrWithAbbrechenTheFieldStays) {
  SetControlText(EditTextField, "xyz");
  OpenCharacterPicker();
  PressAdd();   // nothing selected: closes all the same
  EXPECT_EQ(ControlText(EditTextField), "xyz");
  EXPECT_FALSE(IsWindowOpen(CharacterPicker));

  OpenCharacterPicker();
  SetItemSelected(33, true);
  (void)SendMessageA(ControlHandle(PickerCancel), BM_CLICK, 0, 0);
  TakeEvent(GadgetEvent, PickerCancel);
  CloseDialog(CharacterPicker, EditDialog);   // what the event loop does for 303
  EXPECT_EQ(ControlText(EditTextField), "xyz");
  EXPECT_TRUE(IsWindowEnabled(WindowHandle(EditDialog)));
}

}  // namespace

#include "dialogs/edit_dialog.h"

#include <string>

#include "app/main_window.h"
#include "dialogs/choosers.h"
#include "keyboard/hooks.h"
#include "mapping/key_mapping.h"
#include "mapping/mapping_table.h"
#include "toolkit/numbers.h"
#include "toolkit/ui.h"

namespace {

// The controls of each option's group, in the order their state is set.
const int fileGroup[] = {EditFileCaption, EditFileField, EditFileButton,
                         EditParametersCaption, EditParametersField};
const int folderGroup[] = {EditFolderCaption, EditFolderField, EditFolderButton};
const int textGroup[] = {EditTextCaption, EditTextField, EditTextButton};

template <size_t count>
void EnableGroup(const int (&group)[count], bool enable) {
  for (int control : group) EnableControl(control, enable);
}

// The first selected option in the order 206, 207, 208; 0 when none is.
int SelectedOption() {
  for (int option : {EditRunFileOption, EditOpenFolderOption, EditOutputTextOption}) {
    if (IsOptionSelected(option)) return option;
  }
  return 0;
}

void CreateLabelGroup() {
  CreateControl(GroupBox, EditLabelGroup, 10, 10, 460, 60, "Bezeichnung");
  CreateImageControl(EditLabelImage, 20, 30, 0, 0, ImageKey);
  CreateControl(TextLabel, EditLabelCaption, 60, 30, 100, 20, "Taste:");
  CreateControl(TextField, EditLabelField, 150, 30, 310, 20, "");
}

// The creation order decides the tab order and the option group: the three
// options follow the image directly and text 209 ends their group.
void CreateFunctionGroup() {
  CreateControl(GroupBox, EditFunctionGroup, 10, 80, 460, 230, "Funktion");
  CreateImageControl(EditFunctionImage, 20, 100, 0, 0, ImageFunction);
  CreateControl(OptionButton, EditRunFileOption, 60, 100, 150, 20, "Datei ausführen");
  CreateControl(OptionButton, EditOpenFolderOption, 60, 190, 150, 20, "Ordner öffnen");
  CreateControl(OptionButton, EditOutputTextOption, 60, 250, 150, 20, "Zeichen ausgeben");

  CreateControl(TextLabel, EditFileCaption, 70, 130, 80, 20, "Datei:");
  CreateControl(TextField, EditFileField, 150, 130, 200, 20, "", ReadOnlyField);
  CreateControl(PushButton, EditFileButton, 360, 130, 100, 20, "Auswählen");
  CreateControl(TextLabel, EditParametersCaption, 70, 160, 80, 20, "Parameter:");
  CreateControl(TextField, EditParametersField, 150, 160, 310, 20, "");

  CreateControl(TextLabel, EditFolderCaption, 70, 220, 80, 20, "Ordner:");
  CreateControl(TextField, EditFolderField, 150, 220, 200, 20, "", ReadOnlyField);
  CreateControl(PushButton, EditFolderButton, 360, 220, 100, 20, "Auswählen");

  CreateControl(TextLabel, EditTextCaption, 70, 280, 80, 20, "Zeichen:");
  CreateControl(TextField, EditTextField, 150, 280, 200, 20, "");
  CreateControl(PushButton, EditTextButton, 360, 280, 100, 20, "Auswählen");
}

}  // namespace

void OpenEditDialog() {
  if (!OpenNumberedWindow(EditDialog, 480, 350, "Taste ändern", DialogFlags,
                          MainWindow)) {
    return;
  }
  CreateLabelGroup();
  CreateFunctionGroup();
  CreateControl(PushButton, EditCancel, 260, 320, 100, 20, "Abbrechen");
  CreateControl(PushButton, EditComplete, 370, 320, 100, 20, "Fertig stellen");

  SelectOption(EditRunFileOption);
  UpdateFunctionFields();
  EnableNumberedWindow(MainWindow, false);
  FocusFirstControl(EditDialog);   // the label field: the name can be typed at once
}

void UpdateFunctionFields() {
  const int option = SelectedOption();
  if (option == 0) return;   // no option selected: every group keeps its state
  EnableGroup(fileGroup, option == EditRunFileOption);
  EnableGroup(folderGroup, option == EditOpenFolderOption);
  EnableGroup(textGroup, option == EditOutputTextOption);
}

void ChooseFile() {
  const std::string file = RunFileChooser("Datei auswählen", "Alle Dateien|*.*", "", 0);
  if (!file.empty()) SetControlText(EditFileField, file);
}

void ChooseFolder() {
  const std::string folder = RunFolderChooser("Ordner auswählen", "");
  if (!folder.empty()) SetControlText(EditFolderField, folder);
}

void CompleteEditDialog() {
  const int option = SelectedOption();
  if (option != 0) {
    const FunctionKind kind = option == EditRunFileOption      ? FunctionKind::RunFile
                              : option == EditOpenFolderOption ? FunctionKind::OpenFolder
                                                               : FunctionKind::OutputText;
    // The texts are taken exactly as they stand; ComposeFunctionText uses
    // only those of the chosen kind.
    const std::string functionText = ComposeFunctionText(
        kind, ControlText(EditFileField), ControlText(EditParametersField),
        ControlText(EditFolderField), ControlText(EditTextField));
    AppendMapping(ComposeMappingRow(ControlText(EditLabelField), functionText,
                                    capturedKeyCode));
  }
  CloseDialog(EditDialog, MainWindow);
  RefreshStatusText();
}

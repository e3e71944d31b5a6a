Quillsnapper = {
	Program = {
		CheckedSaveFile = true,
		CheckedCopyClipboard = true,
		CheckedAssociatedProgram = false,
		SaveFileFormat = "png",
		SaveFilePath = "C:\\Users\\me\\Desktop",
		CheckedSameFileName = false,
		AssociatedProgramIndex = 0,
		AssociatedProgramPath = "",
		AssociatedProgramPathForUser = "",
		DefaultLanguage = "한국어",
		CheckedAssistance = false,
		ConfirmSaving = false
	}
};

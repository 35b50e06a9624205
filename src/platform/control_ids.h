#pragma once

// Identifiers of the main window's child controls. Every part of the program
// finds a control through these with GetDlgItem; no handle is kept. They sit
// with the control operations, at the bottom, so that the playlist and the
// player can name controls without reaching up into the window.
enum ControlId : int {
    IDC_PLAY = 1,
    IDC_PAUSE = 2,
    IDC_STOP = 3,
    IDC_TIME = 100,
    IDC_NOW_PLAYING = 101,
    IDC_NOTE = 105,
    IDC_PLAYLIST = 200,
    IDC_ADD_FILE = 201,
    IDC_ABOUT = 202,
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window tests, one program: the wiring (window_test.cpp), the window on real desktops
// (window_desktop_test.cpp) and random use (window_fuzz_test.cpp).

#include <QObject>

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpRunAndLayoutReachTheWindow();
    void everySpinnerReachesItsOwnRule();
    void spinnersHoldWrapSwitchAndStopAtTheirEnds();
    void spinButtonKeysAndArrows();
    void popupMenuAndExit();
    void printWithoutPrinterWritesPdfAndRestoresColour();
    void printToPdfWritesTheFileWholeOrTellsWhyNot();
    void saveAppendsTheReportOrTellsWhyNot();
    void saveAndACommandLineRunShareTheReport();

    void labelsReadAsStaticTextExactlyAsShownAndTheirChangesAreAnnounced();
    void arrowsMemoAndDrawingsHaveNames();
    void completionListClosesWithTheSaveDialog();
    void layoutScalesWithTheScreenResolution();
    void drawingsAreSharpAtEveryScale();
    void gothicFaceDrawsAsTheWholeFamilyList();
    void keyboardFollowsTheTabOrder();
    void warningListExplainsWhatStandsInIt();
    void printedWindowKeepsItsDesignedSize();

    void randomUseKeepsEveryInvariant();
};

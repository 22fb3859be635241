#pragma once

#include "model/Enums.h"
#include "settings/AppSettings.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class EasedTransition;
class OnboardingFeatureRow;
class OnboardingOptionCard;
class OnboardingStepIndicator;
class OnboardingToggleRow;
class QLabel;
class RowNote;
class SegmentedTabs;
class TextButton;
struct MainWindowEnvironment;

enum class OnboardingStep { Welcome, Workflow, QuickSetup };

// The first-run introduction: a welcome, the choice of where folders open, and a few preferences,
// one step at a time under a hero block. Every choice is stored the moment it is made; Start hands
// over to the window, once.
class OnboardingView final : public QWidget {
    Q_OBJECT
public:
    // `onFinish` is told whether a first folder should be created next; Start passes false.
    OnboardingView(const MainWindowEnvironment& environment, std::function<void(bool createFirstFolder)> onFinish,
                   QWidget* parent = nullptr);
    ~OnboardingView() override;

    OnboardingStep step() const { return m_step; }
    bool didApplyWorkflowDefault() const { return m_didApplyWorkflowDefault; }
    PopupPosition workflowPopupPosition() const { return m_workflowPopupPosition; }

    // The primary button's action: the next step, or Start on the last one.
    void advance();
    // The previous step; nothing on the first.
    void goBack();
    // Chooses where folders open and stores it.
    void chooseWorkflow(PopupPosition position);

    TextButton* primaryButton() const { return m_primary; }
    TextButton* backButton() const { return m_back; }
    OnboardingOptionCard* optionCard(PopupPosition position) const;
    SegmentedTabs* themeChoice() const { return m_theme; }
    OnboardingToggleRow* menuBarRow() const { return m_menuBar; }
    OnboardingToggleRow* launchAtLoginRow() const { return m_launchAtLogin; }
    // Why a switch shows other than what was chosen, or has no effect here.
    RowNote* menuBarNote() const { return m_menuBarNote; }
    RowNote* launchAtLoginNote() const { return m_launchAtLoginNote; }
    // Whether a step change or a change of choice is still moving.
    bool isAnimating() const;
    OnboardingStepIndicator* stepIndicator() const { return m_indicator; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildWelcome();
    QWidget* buildWorkflow();
    QWidget* buildQuickSetup();
    QWidget* buildStepPage(OnboardingStep step, QWidget* content);
    void showStep(OnboardingStep step);
    void placePages(double progress);
    void stepLooksChanged();
    void animateCards();
    void settingChanged(AppSettings::Field field);
    void syncWithSettings();
    void updateNotes();
    void retranslate();

    const MainWindowEnvironment& m_environment;
    std::function<void(bool)> m_onFinish;
    OnboardingStep m_step = OnboardingStep::Welcome;
    OnboardingStep m_leavingStep = OnboardingStep::Welcome;
    bool m_didApplyWorkflowDefault = false;
    PopupPosition m_workflowPopupPosition;
    bool m_finished = false;

    QLabel* m_heroIcon;
    QLabel* m_heroTitle;
    QLabel* m_heroSubtitle;
    QWidget* m_stage;
    std::array<QWidget*, 3> m_pages{};
    std::array<QLabel*, 3> m_pageTitles{};
    std::array<QLabel*, 3> m_pageSubtitles{};
    std::array<OnboardingFeatureRow*, 3> m_features{};
    OnboardingOptionCard* m_aboveDock = nullptr;
    OnboardingOptionCard* m_center = nullptr;
    QLabel* m_themeTitle = nullptr;
    SegmentedTabs* m_theme = nullptr;
    OnboardingToggleRow* m_menuBar = nullptr;
    OnboardingToggleRow* m_launchAtLogin = nullptr;
    RowNote* m_menuBarNote = nullptr;
    RowNote* m_launchAtLoginNote = nullptr;
    OnboardingStepIndicator* m_indicator;
    TextButton* m_back;
    TextButton* m_primary;
    std::unique_ptr<EasedTransition> m_stepMotion;
    std::unique_ptr<EasedTransition> m_choiceMotion;
};

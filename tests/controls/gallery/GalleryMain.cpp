// vantor-gallery: one window with every control of the control library in its states.
//
//   vantor-gallery                     shows the window
//   vantor-gallery --screenshot DIR    saves DIR/gallery.png and one PNG per section, then ends
//                                      (with QT_QPA_PLATFORM=offscreen no display is needed)

#include "GalleryStrings.h"
#include "controls/MaxBtn.h"
#include "controls/MaxColorBar.h"
#include "controls/MaxColorPanel.h"
#include "controls/MaxNumberEdit.h"
#include "controls/MaxFile.h"
#include "controls/MaxGroup.h"
#include "controls/MaxList.h"
#include "controls/PPanel.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QTimer>
#include <cstdio>
#include <type_traits>
#include <utility>
#include <vector>

namespace vantor::gallery {
namespace {

TTextPanel* AddLabel(QWidget* parent, int x, int y, int width, const QString& text) {
    auto* label = new TTextPanel(parent);
    label->setGeometry(x, y, width, 17);
    label->SetBevelInner(TPanelBevel::bvNone);
    label->SetTextMargin(0);
    label->SetCaption(text);
    return label;
}

TMaxGroupBox* AddSection(QWidget* parent, int x, int y, int width, int height,
                         const QString& caption) {
    auto* box = new TMaxGroupBox(parent);
    box->setGeometry(x, y, width, height);
    box->SetCaption(caption);
    return box;
}

TMaxNumberEdit* AddNumberEdit(QWidget* parent, int x, int y, double min, double max,
                              double increment, const QString& format, double value) {
    auto* edit = new TMaxNumberEdit(parent);
    edit->move(x, y);
    edit->SetIncrement(increment);
    edit->SetMax(max);
    edit->SetMin(min);
    edit->SetPrintFormat(format);
    edit->SetPosition(value);
    return edit;
}

// A small arrow picture for the glyph buttons.
QPixmap ArrowGlyph(const QColor& color) {
    QPixmap glyph(12, 12);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(QPolygon({QPoint(2, 1), QPoint(10, 6), QPoint(2, 11)}));
    return glyph;
}

// Sends a left press to a control so that its pressed look can be photographed.
void PressAt(QWidget* widget, QPoint point) {
    QMouseEvent press(QEvent::MouseButtonPress, point, widget->mapToGlobal(point), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class GalleryWindow : public QWidget {
public:
    GalleryWindow() {
        setWindowTitle(kWindowTitle);
        resize(1330, 520);
        BuildEdits(AddSection(this, 10, 10, 310, 200, kSectionEdits));
        BuildTracks(AddSection(this, 10, 218, 310, 170, kSectionTracks));
        BuildChecks(AddSection(this, 10, 396, 310, 110, kSectionChecks));
        BuildButtons(AddSection(this, 330, 10, 320, 160, kSectionButtons));
        BuildPanels(AddSection(this, 330, 178, 320, 330, kSectionPanels));
        BuildGroups(AddSection(this, 660, 10, 320, 498, kSectionGroups));
        BuildColour(AddSection(this, 990, 10, 330, 216, kSectionColour));
        BuildList(AddSection(this, 990, 234, 330, 150, kSectionList));
        BuildDialogs(AddSection(this, 990, 392, 330, 116, kSectionDialogs));
        ChainColumn();
    }

    // Sections with their names, for the screenshots.
    std::vector<std::pair<QString, QWidget*>> Sections() const { return FSections; }

    // Runs each dialog once and photographs it while it is up.
    bool SaveDialogScreenshots(const QString& folder) {
        bool saved = true;
        const auto shoot = [&](auto& dialog, const QString& name) {
            QObject::connect(&dialog, &std::remove_reference_t<decltype(dialog)>::OnShow, &dialog,
                             [&dialog, &saved, folder, name] {
                                 QWidget* window = dialog.Dialog()->window();
                                 const QString path = QDir(folder).filePath(
                                     QStringLiteral("gallery-%1.png").arg(name));
                                 saved = window->grab().save(path) && saved;
                                 std::printf("%s\n", qPrintable(path));
                                 window->close();
                             });
            dialog.Execute();
        };
        shoot(*FFolderDialog, QStringLiteral("folder-dialog"));
        shoot(*FOpenDialog, QStringLiteral("open-dialog"));
        return saved;
    }

    // Puts the controls that show a press into their pressed look.
    void ShowPressedStates() {
        for (QWidget* widget : FPressed) {
            PressAt(widget, QPoint(4, 4));
        }
    }

private:
    void Register(const QString& name, TMaxGroupBox* section) {
        FSections.emplace_back(name, section);
        FColumn.push_back(section);
    }

    void BuildEdits(TMaxGroupBox* section) {
        Register("edits", section);
        AddLabel(section, 10, 20, 110, kNewNumberEdit);
        auto* fresh = new TMaxNumberEdit(section);
        fresh->move(130, 18);

        AddLabel(section, 10, 44, 110, kCanvasSize);
        for (int i = 0; i < 2; ++i) {
            TMaxNumberEdit* canvas =
                AddNumberEdit(section, 130 + i * 70, 42, 1, 9999, 1, "%.0lf", 200);
            canvas->SetEnterSelect(false);
        }
        AddLabel(section, 10, 68, 110, kFieldOfView);
        AddNumberEdit(section, 130, 66, 1, 89, 1, "%.0lf", 45)->SetEnterSelect(false);

        AddLabel(section, 10, 92, 110, kExponential);
        TMaxNumberEdit* exponential = AddNumberEdit(section, 130, 90, 0, 10000, 10, "%.0lf", 100);
        exponential->SetExponential(true);

        AddLabel(section, 10, 116, 110, kEdgePower);
        AddNumberEdit(section, 130, 114, 0, 9999, 0.01, "%.2lf", 0.5)->setEnabled(false);

        auto* file = new TMaxEdit(section);
        file->setGeometry(10, 142, 160, 20);
        file->setText(kFileName);
        auto* numbers = new TMaxEdit(section);
        numbers->setGeometry(10, 168, 90, 20);
        numbers->SetNumberOnly(true);
        numbers->setText("-1");
        numbers->setToolTip(kNumberOnly);
        auto* exitKey = new TMaxEdit(section);
        exitKey->setGeometry(110, 168, 90, 20);
        exitKey->SetExitKey(true);
        exitKey->setText(kExitKey);
    }

    void BuildTracks(TMaxGroupBox* section) {
        Register("tracks", section);
        struct Row {
            QString label;
            float trackMax;
            double editMax;
            double increment;
            double value;
            bool enabled;
        };
        const Row rows[] = {
            {kOpacity, 1, 1, 0.01, 1.0, true},         {kDiffuse, 1, 1, 0.01, 0.5, true},
            {kSpecularPower, 100, 100, 0.1, 25, true}, {kEnvironment, 1, 9.99, 0.01, 0.0, true},
            {kDisabled, 1, 1, 0.01, 0.3, false},
        };
        int y = 22;
        for (const Row& row : rows) {
            AddLabel(section, 10, y, 90, row.label);
            auto* track = new TMaxTrack(section);
            track->setGeometry(110, y + 3, 106, 13);
            track->SetMax(row.trackMax);
            TMaxNumberEdit* edit =
                AddNumberEdit(section, 226, y, 0, row.editMax, row.increment, "%.2f", 0);
            // The material editor's pairing: the track notifies the edit, the edit moves the
            // track silently.
            QObject::connect(track, &TMaxTrack::OnChange, edit,
                             [track, edit] { edit->FSetPosition(track->GetPosition()); });
            QObject::connect(edit, &TMaxNumberEdit::OnChange, track, [track, edit] {
                track->SetPosition(static_cast<float>(edit->GetPosition()));
            });
            track->FSetPosition(static_cast<float>(row.value));
            track->setEnabled(row.enabled);
            edit->setEnabled(row.enabled);
            y += 24;
        }
        AddLabel(section, 10, y, 90, QStringLiteral("Min = Max"));
        auto* flat = new TMaxTrack(section);
        flat->setGeometry(110, y + 3, 106, 13);
        flat->SetMin(1);
    }

    void BuildChecks(TMaxGroupBox* section) {
        Register("checks", section);
        const struct {
            QString caption;
            bool checked;
            bool enabled;
        } rows[] = {
            {kShadow, false, true}, {kLighting, true, true}, {kSpecular, false, false},
            {kFsaa, true, false},   {kPressed, false, true},
        };
        int index = 0;
        for (const auto& row : rows) {
            auto* check = new TMaxCheck(section);
            check->setGeometry(10 + (index % 2) * 150, 22 + (index / 2) * 22, 145, 13);
            check->SetCaption(row.caption);
            check->SetChecked(row.checked);
            check->setEnabled(row.enabled);
            if (row.caption == kPressed) {
                FPressed.push_back(check);
            }
            ++index;
        }
    }

    void BuildButtons(TMaxGroupBox* section) {
        Register("buttons", section);
        const auto add = [section](int x, int y, int w, int h, const QString& caption) {
            auto* button = new TMaxButton(section);
            button->setGeometry(x, y, w, h);
            button->SetCaption(caption);
            return button;
        };
        add(10, 20, 30, 20, kBrowse);
        FPressed.push_back(add(46, 20, 64, 20, kUpdate));
        add(116, 20, 70, 20, kGradation)->SetStyle(TMaxButtonStyle::mbsGradation);
        TMaxButton* gradationPressed = add(192, 20, 70, 20, kGradation);
        gradationPressed->SetStyle(TMaxButtonStyle::mbsGradation);
        FPressed.push_back(gradationPressed);
        add(268, 20, 40, 20, kBrowse)->setEnabled(false);

        const QString group[] = {kGroupLeft, kGroupCentre, kGroupRight};
        for (int i = 0; i < 3; ++i) {
            TMaxButton* toggle = add(10 + i * 66, 48, 64, 16, group[i]);
            toggle->SetGroupIndex(1);
            toggle->SetDown(i == 1);
        }
        TMaxButton* disabledToggle = add(208, 48, 100, 16, kDisabled);
        disabledToggle->SetStyle(TMaxButtonStyle::mbsGradation);
        disabledToggle->setEnabled(false);

        for (int i = 0; i < 3; ++i) {
            TMaxButton* toggle = add(10 + i * 66, 72, 64, 18, kAllUp);
            toggle->SetStyle(TMaxButtonStyle::mbsGradation);
            toggle->SetGroupIndex(2);
            toggle->SetAllowAllUp(true);
            toggle->SetDown(i == 2);
        }
        TMaxButton* colored = add(208, 72, 100, 18, kGradation);
        colored->SetStyle(TMaxButtonStyle::mbsGradation);
        colored->SetColor(QColor(120, 170, 230));

        const TAlignment alignments[] = {TAlignment::taLeftJustify, TAlignment::taCenter,
                                         TAlignment::taRightJustify};
        for (int i = 0; i < 3; ++i) {
            TMaxButton* menu = add(10 + i * 80, 98, 76, 18, kCaption2Main);
            menu->SetCaption2(kCaption2Extra);
            menu->SetAlignment(alignments[i]);
        }

        for (int i = 0; i < 4; ++i) {
            TMaxButton* glyph = add(10 + i * 30, 124, 26, 24, QString());
            glyph->SetGlyph(ArrowGlyph(Qt::darkBlue));
            glyph->SetGroupIndex(i < 2 ? 3 : 4);
            glyph->SetStyle(i < 2 ? TMaxButtonStyle::mbsInvert : TMaxButtonStyle::mbsDefault);
            if (i >= 2) {
                glyph->SetDownGlyph(ArrowGlyph(Qt::darkRed));
            }
            glyph->SetDown(i == 1 || i == 3);
        }
    }

    void BuildPanels(TMaxGroupBox* section) {
        Register("panels", section);
        auto* scroller = new TMaxPanel(section);
        scroller->setGeometry(10, 20, 120, 150);
        scroller->SetBevelOuter(TPanelBevel::bvLowered);
        for (int i = 0; i < 12; ++i) {
            TTextPanel* item = AddLabel(scroller, 8, 8 + i * 30, 96,
                                        QStringLiteral("%1 %2").arg(kItem).arg(i + 1));
            item->SetBevelInner(i % 2 == 0 ? TPanelBevel::bvLowered : TPanelBevel::bvRaised);
            item->SetTextMargin(4);
        }

        auto* under = new TMaxCustomPanel(section);
        under->setGeometry(140, 20, 80, 70);
        under->SetColor(QColor(200, 80, 80));
        auto* box = new TMaxControlBox(section);
        box->setGeometry(148, 26, 64, 64);
        auto* inside = new TMaxButton(box);
        inside->setGeometry(4, 24, 56, 18);
        inside->SetCaption(kControlBox);

        auto* paint = new TPaintPanel(section);
        paint->setGeometry(140, 100, 170, 140);
        paint->SetBevelOuter(TPanelBevel::bvLowered);
        paint->HorzScrollBar()->SetMax(300);
        paint->HorzScrollBar()->SetPage(100);
        paint->HorzScrollBar()->SetVisible(true);
        paint->VertScrollBar()->SetMax(300);
        paint->VertScrollBar()->SetPage(100);
        paint->VertScrollBar()->SetVisible(true);
        QObject::connect(paint, &TPaintPanel::OnPaint, paint, [paint](QPainter* canvas) {
            const QRect client = paint->ClientRect().adjusted(1, 1, 0, 0);
            const int dx = paint->HorzScrollBar()->Position();
            const int dy = paint->VertScrollBar()->Position();
            canvas->setClipRect(client);
            for (int y = 0; y < 400; y += 20) {
                for (int x = 0; x < 400; x += 20) {
                    const bool dark = ((x + y) / 20) % 2 == 0;
                    canvas->fillRect(client.x() + x - dx, client.y() + y - dy, 20, 20,
                                     dark ? QColor(70, 110, 160) : QColor(230, 230, 240));
                }
            }
            canvas->setPen(Qt::black);
            canvas->drawText(client.adjusted(4, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                             kPaintPanel);
        });

        const QString texts[] = {kLeft, kCentre, kRight};
        const TAlignment alignments[] = {TAlignment::taLeftJustify, TAlignment::taCenter,
                                         TAlignment::taRightJustify};
        for (int i = 0; i < 3; ++i) {
            auto* text = new TTextPanel(section);
            text->move(10, 180 + i * 22);
            text->SetCaption(texts[i]);
            text->SetAlignment(alignments[i]);
            text->SetBevelInner(i == 2 ? TPanelBevel::bvRaised : TPanelBevel::bvLowered);
        }
        for (int i = 0; i < 2; ++i) {
            auto* vertical = new TTextPanel(section);
            vertical->setGeometry(112 + i * 22, 180, 17, 96);
            vertical->SetTextStyle(TTextPanelTextStyle::tptsVertical);
            vertical->SetCaption(kVertical);
            vertical->SetAlignment(i == 0 ? TAlignment::taLeftJustify : TAlignment::taRightJustify);
        }
        auto* disabledText = new TTextPanel(section);
        disabledText->move(10, 246);
        disabledText->SetCaption(kDisabled);
        disabledText->setEnabled(false);
    }

    void BuildGroups(TMaxGroupBox* section) {
        Register("groups", section);
        const auto addBox = [section](int y, int height, const QString& caption,
                                      TMaxGroupBoxStyle style) {
            auto* box = new TMaxGroupBox(section);
            box->setGeometry(10, y, 300, height);
            box->SetCaption(caption);
            box->SetStyle(style);
            return box;
        };
        TMaxGroupBox* scene = addBox(20, 90, kScene, TMaxGroupBoxStyle::mgbAlias);
        AddLabel(scene, 10, 24, 120, kCanvasSize);
        AddNumberEdit(scene, 130, 22, 1, 9999, 1, "%.0lf", 200);
        auto* check = new TMaxCheck(scene);
        check->setGeometry(10, 52, 140, 13);
        check->SetCaption(kLighting);
        check->SetChecked(true);

        TMaxGroupBox* rendering = addBox(0, 90, kRendering, TMaxGroupBoxStyle::mgbDefault);
        auto* inner = new TMaxCustomPanel(rendering);
        inner->SetBevelOuter(TPanelBevel::bvLowered);
        inner->SetCaption(QStringLiteral("ChildPanel"));
        rendering->SetChildPanel(inner);

        TMaxGroupBox* lighting = addBox(0, 90, kLightingGroup, TMaxGroupBoxStyle::mgbDefault);
        AddLabel(lighting, 20, 30, 200, kMaterial);
        lighting->SetMinimized(true);

        TMaxGroupBox* shadow = addBox(0, 70, kShadowGroup, TMaxGroupBoxStyle::mgbAlias);
        AddLabel(shadow, 10, 24, 200, kShadow);
        shadow->setEnabled(false);

        TMaxGroupBox* mapping = addBox(0, 70, kMapping, TMaxGroupBoxStyle::mgbDefault);
        AddLabel(mapping, 20, 24, 200, kMapping);
        mapping->setEnabled(false);

        TMaxGroupBox* material = addBox(0, 70, kMaterial, TMaxGroupBoxStyle::mgbAlias);
        material->SetEnableMinimized(false);
        AddLabel(material, 10, 24, 280, QStringLiteral("EnableMinimized = false"));

        scene->SetNextGroup(rendering);
        rendering->SetNextGroup(lighting);
        lighting->SetNextGroup(shadow);
        shadow->SetNextGroup(mapping);
        mapping->SetNextGroup(material);
    }

    void BuildColour(TMaxGroupBox* section) {
        Register("colour", section);
        auto* panel = new TMaxColorPanel(section);
        panel->move(10, 20);
        auto* vertical = new TMaxColorBar(section);
        vertical->SetBarStyle(mbctVertical);
        vertical->setGeometry(230, 20, 20, 148);
        vertical->SetMinColor(0x000000);
        vertical->SetMaxColor(0x0000FF);
        vertical->SetPosition(0.75);
        auto* gradient = new TMaxColorBar(section);
        gradient->SetBarStyle(mbctVertical);
        gradient->setGeometry(260, 20, 20, 148);
        gradient->SetMinColor(0xFFFFFF);
        gradient->SetMaxColor(0xFF4000);
        gradient->SetPosition(0.25);
        TTextPanel* readout = AddLabel(section, 10, 174, 310, QString());
        // What the colour dialog relies on: the colour the panel shows comes back from its HSV
        // form unchanged.
        const auto show = [panel, readout] {
            const TColorValue c = panel->GetColor();
            const THSVColor hsv = RGBToHSV(c);
            const bool same = HSVToRGB(hsv) == c;
            readout->SetCaption(QStringLiteral("0x%1  H %2  S %3  V %4  %5")
                                    .arg(c, 6, 16, QLatin1Char('0'))
                                    .arg(hsv.H, 0, 'f', 1)
                                    .arg(hsv.S, 0, 'f', 3)
                                    .arg(hsv.V, 0, 'f', 3)
                                    .arg(same ? kRoundTripOk : kRoundTripBroken));
        };
        QObject::connect(panel, &TMaxColorPanel::OnChange, readout, show);
        panel->SetColor(0x80BFFF);
    }

    void BuildList(TMaxGroupBox* section) {
        Register("list", section);
        auto* list = new TMaxListBox(section);
        list->setGeometry(10, 20, 121, 120);
        list->SetItemHeight(12);
        list->SetLeftMargin(12);
        list->SetMarginColor(QColor(200, 220, 255));
        list->SetMouseWheel(mwOnlyOnControl);
        for (const QString& name : kMaterials) {
            list->addItem(name);
        }
        list->SetItemIndex(1);
        TTextPanel* events = AddLabel(section, 140, 20, 180, QString());
        QObject::connect(list, &TMaxListBox::OnMarginMouseDown, events,
                         [events](int index, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                             events->SetCaption(QStringLiteral("margin down %1").arg(index));
                         });
        QObject::connect(list, &TMaxListBox::OnMarginClick, events, [events](int index) {
            events->SetCaption(QStringLiteral("margin click %1").arg(index));
        });
        QObject::connect(list, &TMaxListBox::OnClick, events, [events, list] {
            events->SetCaption(QStringLiteral("item %1").arg(list->ItemIndex()));
        });
        auto* keyboard = new TMaxCheck(section);
        keyboard->setGeometry(140, 46, 180, 13);
        keyboard->SetCaption(QStringLiteral("EnableKeyboard"));
        keyboard->SetChecked(true);
        QObject::connect(keyboard, &TMaxCheck::OnChange, list,
                         [keyboard, list] { list->SetEnableKeyboard(keyboard->Checked()); });
    }

    void BuildDialogs(TMaxGroupBox* section) {
        Register("dialogs", section);
        FOpenDialog = new TMaxOpenDialog(this);
        FOpenDialog->SetFilters({kMQOFilter});
        FOpenDialog->SetDefaultExt(QStringLiteral("*.mqo"));
        FOpenDialog->SetOptions(TMaxOpenOption::HideReadOnly | TMaxOpenOption::FileMustExist |
                                TMaxOpenOption::EnableSizing);
        auto* save = new TMaxSaveDialog(this);
        save->SetFilters({kMQOFilter});
        save->SetDefaultExt(QStringLiteral("*.mqo"));
        save->SetOptions(TMaxOpenOption::OverwritePrompt | TMaxOpenOption::HideReadOnly |
                         TMaxOpenOption::EnableSizing);
        FFolderDialog = new TMaxFolderDialog(this);
        FFolderDialog->SetTitle(kSaveFolderTitle);
        FFolderDialog->SetCurrentDir(true);
        FFolderDialog->SetNewFolder(true);
        QObject::connect(FFolderDialog, &TMaxFolderDialog::OnChangeFolder, FFolderDialog,
                         [this](bool& allow) {
                             allow = !FFolderDialog->Folder().endsWith(QStringLiteral("/locked"));
                         });

        TTextPanel* result = AddLabel(section, 10, 70, 310, QString());
        AddLabel(section, 10, 48, 310, kLockedFolder);
        const auto add = [section, result](int x, const QString& caption, auto run) {
            auto* button = new TMaxButton(section);
            button->setGeometry(x, 20, 90, 22);
            button->SetCaption(caption);
            QObject::connect(button, &TMaxButton::OnClick, result, [result, run] {
                const QString chosen = run();
                result->SetCaption(chosen.isEmpty() ? kCancelled : chosen);
            });
        };
        add(10, kOpenMQO,
            [this] { return FOpenDialog->Execute() ? FOpenDialog->FileName() : QString(); });
        add(106, kSaveMQO, [save] { return save->Execute() ? save->FileName() : QString(); });
        add(202, kChooseFolder,
            [this] { return FFolderDialog->Execute() ? FFolderDialog->Folder() : QString(); });
    }

    // The sections of a column follow one another when one of them collapses.
    void ChainColumn() {
        for (std::size_t i = 0; i + 1 < 3; ++i) {
            FColumn[i]->SetNextGroup(FColumn[i + 1]);
        }
        FColumn[3]->SetNextGroup(FColumn[4]);
        FColumn[6]->SetNextGroup(FColumn[7]);
        FColumn[7]->SetNextGroup(FColumn[8]);
    }

    std::vector<std::pair<QString, QWidget*>> FSections;
    std::vector<TMaxGroupBox*> FColumn;
    std::vector<QWidget*> FPressed;
    TMaxOpenDialog* FOpenDialog = nullptr;
    TMaxFolderDialog* FFolderDialog = nullptr;
};

int SaveScreenshots(GalleryWindow& window, const QString& folder) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "vantor-gallery: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    window.ShowPressedStates();
    QApplication::processEvents();
    std::vector<std::pair<QString, QWidget*>> shots = window.Sections();
    shots.emplace_back(QStringLiteral("gallery"), &window);
    for (const auto& [name, widget] : shots) {
        const QString path = QDir(folder).filePath(QStringLiteral("gallery-%1.png").arg(name));
        if (!widget->grab().save(path)) {
            std::fprintf(stderr, "vantor-gallery: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return window.SaveDialogScreenshots(folder) ? 0 : 1;
}

} // namespace
} // namespace vantor::gallery

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(12);
    QApplication::setFont(font);

    vantor::gallery::GalleryWindow window;
    window.show();
    const QStringList args = QApplication::arguments();
    const qsizetype shot = args.indexOf(QStringLiteral("--screenshot"));
    if (shot >= 0) {
        if (shot + 1 >= args.size()) {
            std::fprintf(stderr, "usage: vantor-gallery [--screenshot FOLDER]\n");
            return 2;
        }
        return vantor::gallery::SaveScreenshots(window, args.at(shot + 1));
    }
    return QApplication::exec();
}

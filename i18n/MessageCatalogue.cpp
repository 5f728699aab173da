#include "i18n/MessageCatalogue.h"

#include <array>

namespace {

struct Entry {
    int number;
    std::array<const char *, 3> texts;
};

// CR inside a text starts a new line where it is shown.
const Entry kEntries[] = {
    {0, {"Skalierungswerte", "Scaling Values", "Valeurs échelles"}},
    {1, {"Warnwerte", "Warning Values", "Valeurs alertes"}},
    {2, {"sonstige Einstellungen", "Other Settings", "Paramètres divers"}},
    {3, {"Skalierung int. Druck (anal. Ausgang, 'OUT-D')", "Scaling int. pressure (anal. output, 'OUT-P')", "échelle pression interne (sortie analogue, 'OUT-P')"}},
    {4, {"Skalierung IN-1 als Temp. ('IN1-T')", "Scaling IN-1 as temperature ('IN1-T')", "échelle IN-1 en tant que température ('IN1-T')"}},
    {5, {"Skalierung IN-1 als Druck ('IN1-D')", "Scaling IN-1 as pressure ('IN1-P')", "échelle IN-1 en tant que pression ('IN1-P')"}},
    {6, {"Skalierung IN-2 als Feuchte ('IN2-F')", "Scaling IN-2 as humidity ('IN2-H')", "échelle IN-2 en tant que humidité ('IN2-H')"}},
    {7, {"Skalierung IN-2 als Druck ('IN2-D')", "Scaling IN-2 as pressure ('IN2-P')", "échelle IN-2 en tant que pression ('IN2-P')"}},
    {8, {"Wert unten", "Value bottom", "Valeur en bas"}},
    {9, {"Wert oben", "Value top", "Valeur en haut"}},
    {10, {"%rF", "%rH", "%rH"}},
    {11, {"Warnung int. Druck", "Warning int. pressure", "alerte pression interne"}},
    {12, {"Warnung IN-1 als Temp. ('IN1-T')", "Warning IN-1 as temperature ('IN1-T')", "alerte IN-1 en tant que température ('IN1-T')"}},
    {13, {"Warnung IN-1 als Druck ('IN1-D')", "Warning IN-1 as pressure ('IN1-P')", "alerte IN-1 en tant que pression ('IN1-P')"}},
    {14, {"Warnung IN-2 als Feuchte ('IN2-F')", "Warning IN-2 as humidity ('IN2-H')", "alerte IN-2 en tant que humidité ('IN2-H')"}},
    {15, {"Warnung IN-2 als Druck ('IN2-D')", "Warning IN-2 as pressure ('IN2-P')", "alerte IN-2 en tant que pression ('IN2-P')"}},
    {16, {"Sprache", "Language", "Langue"}},
    {17, {"Deutsch", "German", "Allemand"}},
    {18, {"Englisch", "English", "Anglais"}},
    {19, {"Französisch", "French", "Français"}},
    {20, {"Warnton", "Sound", "Son"}},
    {21, {"aus", "off", "non"}},
    {22, {"an", "on", "oui"}},
    {23, {"Länge [ms]", "Duration [ms]", "Durée [ms]"}},
    {24, {"Anzeige", "Display", "Écran"}},
    {25, {"Hysterese", "Hysteresis", "Hystérèse"}},
    {26, {"Konfiguration für externen Druck", "Configuration for external pressure", "Configuration pour pression externe"}},
    {27, {"Filter", "Filter", "Filtre"}},
    {28, {"Signale (Spannung/Strom)", "Signals (voltage/current)", "Signals (voltage/courant)"}},
    {29, {"Passwort (****)", "Password (****)", "mot de passe (****)"}},
    {30, {"ZEL zurücksetzen", "Reset ZEL", "Resetter ZEL"}},
    {34, {"Messung starten", "start measure", "Démarrer mesurage"}},
    {35, {"Lade Daten aus ZEL 40 / ZEL 80 ...", "Loading data from ZEL 40 / ZEL 80 ...", "Charger données de ZEL 40 / ZEL 80 ..."}},
    {36, {"Abbruch durch Benutzer", "Abort by user", "Abandon de utilisateur"}},
    {37, {"Nicht alle Daten wurden erfolgreich geladen", "Couldn't load all data successfully", "Erreur avec la connexion pendant charger"}},
    {38, {"Daten erfolgreich geladen", "Data load successfully", "Chargée les données avec succès"}},
    {39, {"Momentan läuft die Druckmessung. Bitte beenden Sie diese zuerst.", "Currently the pressure measurement is running. Please stop this first.", "Vous êtes connectée dans la fenêtre de mesurage. Terminez cette s'il vous plaît"}},
    {40, {"Speichere Daten auf den ZEL 40 / ZEL 80 ...", "Sending data to ZEL 40 / ZEL 80 ...", "Enregistrer données dans le ZEL 40 / ZEL 80 ..."}},
    {41, {"Fehler beim Datenaustausch mit dem ZEL 40 / ZEL 80", "Error data exchange with ZEL 40 / ZEL 80 ...", "Erreur avec la connexion chez le ZEL 40 / ZEL 80"}},
    {42, {"Verbindungsproblem zum ZEL 40 / ZEL 80. Bitte warten ...", "Connection error to ZEL 40 / ZEL 80. Please wait ...", "Problèmes de connexion chez le ZEL 40 / ZEL 80. Attendre un moment ..."}},
    {43, {"Messung stoppen", "stop measure", "arrêter mesurage"}},
    {44, {"Verbunden mit ZEL 40 / ZEL 80 ...", "Connected to ZEL 40 / ZEL 80 ...", "Connexée avec le ZEL 40 / ZEL 80 ..."}},
    {45, {"Trenne Verbindung zu ZEL 40 / ZEL 80 ...", "Disconnecting from ZEL 40 / ZEL 80 ...", "Déconnecter de ZEL 40 / ZEL 80 ..."}},
    {46, {"Verbindung zu ZEL 40 / ZEL 80 getrennt", "Disconnected from ZEL 40 / ZEL 80", "Connexion chez le ZEL 40 / ZEL 80 déconnectée"}},
    {47, {"ZEL 40 / ZEL 80 wird nulliert ...", "Zero-point calibration of ZEL 40 / ZEL 80 active ...", "zero ZEL 40 / ZEL 80 ..."}},
    {48, {"Daten erfolgreich gesendet", "Data send successfully", "Envoyée les données avec succès"}},
    {49, {"Einstellungen", "Settings", "Paramètres"}},
    {50, {"Öffnen ...", "Open ...", "Ouvrier ..."}},
    {51, {"Speichern unter ...", "Save as ...", "Enregistrer sous ..."}},
    {52, {"Messwerte", "Measuring Values", "Valeurs mesurées"}},
    {53, {"Istwerte", "Actual values", "Valeurs réelles"}},
    {54, {"Messintervall [Sek.]", "Measure interval [sec]", "Intervalle mesurer [sec]"}},
    {55, {"Nullieren", "zero-point calib.", "Zero"}},
    {56, {"Liste leeren", "Clear List", "Vider la liste"}},
    {57, {"ZEL 40 / ZEL 80 zurücksetzen ...", "Reset ZEL 40 / ZEL 80 ...", "Resetter ZEL 40 / ZEL 80 ..."}},
    {58, {"Nicht alle Daten wurden erfolgreich gesendet", "Couldn't send all data successfully", "N'est pas envoyée tous les données avec succès"}},
    {59, {"Daten erfolgreich gespeichert", "Data saved successfully", "Enregistrer données avec succès"}},
    {60, {"keine externen Drucksensoren", "no external pressure", "aucun senseur pression externe"}},
    {61, {"nur an IN-2", "only at IN-2", "seulement à IN-2"}},
    {62, {"nur an IN-1", "only at IN-1", "seulement à IN-1"}},
    {63, {"an beiden analogen Eingängen", "at both analogue inputs", "à toutes les deux entrées analogues"}},
    {64, {"D", "P", "P"}},
    {65, {"F", "H", "H"}},
    {66, {"nie angezogen", "never switched on", "Jamais mise en marche"}},
    {67, {"bei Unter-/Überschreitung von IN2", "when IN2 is exceeded/dropped", "En infériorité/dépassement de IN2"}},
    {68, {"bei Unter-/Überschreitung von IN1", "when IN1 is exceeded/dropped", "En infériorité/dépassement de IN1"}},
    {69, {"bei Unter-/Überschreitung von IN1 + IN2", "when IN1 + IN2 is exceeded/dropped", "En infériorité/dépassement de IN1 + IN2"}},
    {70, {"bei Unter-/Überschreitung von int. Druck", "when int. pressure is exceeded/dropped", "En infériorité/dépassement de pression interne"}},
    {71, {"bei Unter-/Überschreitung von int. Druck + IN2", "when int. pressure + IN2 is exceeded/dropped", "En infériorité/dépassement de pression interne + IN2"}},
    {72, {"bei Unter-/Überschreitung von int. Druck + IN1", "when int. pressure + IN1 is exceeded/dropped", "En infériorité/dépassement de pression interne + IN1"}},
    {73, {"bei Unter-/Überschreitung von int. Druck + IN1 + IN2", "when int. pressure + IN1 + IN2 is exceeded/dropped", "En infériorité/dépassement de pression interne + IN1 + IN2"}},
    {74, {"ZEL 40 / ZEL 80 Inbetriebnahmetool", "ZEL 40 / ZEL 80 Start-Up Tool", "Outil pour mise en marche le ZEL 40 / ZEL 80"}},
    {75, {"int. Druck", "int. pressure", "pression interne"}},
    {76, {" [msek]", " [msec]", " [msec]"}},
    {77, {"IN-1 (Temp. bzw. Druck)", "IN-1 (temp. or pressure)", "IN-1 (température resp. pression)"}},
    {78, {"IN-2 (Feuchte bzw. Druck)", "IN-2 (humidity or pressure)", "IN-2 (humidité resp. pression)"}},
    {79, {"OUT-D (int. Druck)", "OUT-P (internal pressure)", "OUT-P (pression interne)"}},
    {80, {"Relais", "Relays", "Relais"}},
    {81, {"Relais-Kanal-Zuordnung", "Relay-Channel-Assignment", "Allocation des relais aux canals"}},
    {82, {"Ansprechzeit Relais 1 (für Überschreitungen) [Sek.]", "Response time relay 1 (for exceedings) [sec]", "temps de réponse du Relais 1 (pour dépassements) [sec]"}},
    {83, {"Ansprechzeit Relais 2 (für Unterschreitungen) [Sek.]", "Response time relay 2 (for lower deviations) [sec]", "temps de réponse du Relais 2 (pour infériorités) [sec]"}},
    {84, {"Relaisquittierung", "Relay acknowledgement", "Acquittement du relais"}},
    {85, {"Nachkomma", "Decimal places", "Avec séparateur décimal"}},
    {86, {"IN-1 als Temp.", "IN-1 as temp.", "IN-1 en tant que température"}},
    {87, {"IN-1 als Druck", "IN-1 as press.", "IN-1 en tant que pression"}},
    {88, {"IN-2 als Feuchte", "IN-2 as humidity", "IN-2 en tant que humidité"}},
    {89, {"IN-2 als Druck", "IN-2 as press.", "IN-2 en tant que pression"}},
    {90, {"Sonstiges", "Miscellaneous", "Points divers"}},
    {91, {"Messbereich int. Druck", "Measurement range int. pressure", "étendue de mesure de la pression interne"}},
    {92, {"Geräteadresse", "Device address", "Adresse d'équipement"}},
    {93, {"von ZEL 40 / ZEL 80 laden", "Load from ZEL 40 / ZEL 80", "Charger de ZEL 40 / ZEL 80"}},
    {94, {"Werkseinstellungen 100Pa und laden", "Delivery State 100Pa and load", "Paramètres d'envoi 100Pa et charger"}},
    {95, {"Werkseinstellungen 250Pa und laden", "Delivery State 250Pa and load", "Paramètres d'envoi 250Pa et charger"}},
    {96, {"an ZEL 40 / ZEL 80 senden", "Send to ZEL 40 / ZEL 80", "Envoyer à ZEL 40 / ZEL 80"}},
    {97, {"Übertragung abbrechen", "Abort transmission", "Abandon transfert"}},
    {98, {"Sek", "sec", "sec"}},
    {99, {"Beenden", "Close", "Terminer"}},
    {100, {"Temperatur", "temperature", "température"}},
    {101, {"Feuchte", "humidity", "humidité"}},
    {102, {"Druck an IN-1", "pressure at IN-1", "pression à IN-1"}},
    {103, {"Druck an IN-2", "pressure at IN-2", "pression à IN-2"}},
    {104, {"Nullierung abgeschlossen", "Zero-point calibration finished", "Zero calibration terminé"}},
    {105, {"Reset abgeschlossen", "Reset finished", "Reset terminée"}},
    {106, {"ZEL kalibrieren", "Calibrate ZEL", "Calibrer ZEL"}},
    {107, {"pos. Bereich", "pos. range", "pos. domaine"}},
    {108, {"neg. Bereich", "neg. range", "neg. domaine"}},
    {109, {"Messbereich vom ZEL 40 / ZEL 80 lesen ...", "Reading measurement range from ZEL 40 / ZEL 80 ...", "Lire l'étendue de mesure de ZEL 40 / ZEL 80 ..."}},
    {110, {"Messbereich +-250Pa erkannt", "identified measurement range +-250Pa", "identifiée étendue de mesure +-250Pa"}},
    {111, {"Messbereich +-100Pa erkannt", "identified measurement range +-100Pa", "identifiée étendue de mesure +-100Pa"}},
    {112, {"Legen Sie einen Druck von +250Pa an (Kalibrieranschlüsse verwenden).\rDrücken Sie anschließend OK!", "Apply the pressure +250Pa (use calibration ports).\rThen click the button 'OK'!", "Employez la pression +250Pa (utilisez la connexion du calibration).\rPuis cliquez sur le bouton 'OK'!"}},
    {113, {"Legen Sie einen Druck von +100Pa an (Kalibrieranschlüsse verwenden).\rDrücken Sie anschließend OK!", "Apply the pressure +100Pa (use calibration ports).\rThen click the button 'OK'!", "Employez la pression +100Pa (utilisez la connexion du calibration).\rPuis cliquez sur le bouton 'OK'!"}},
    {114, {"Legen Sie einen Druck von -250Pa an (Kalibrieranschlüsse verwenden).\rDrücken Sie anschließend OK!", "Apply the pressure -250Pa (use calibration ports).\rThen click the button 'OK'!", "Employez la pression -250Pa (utilisez la connexion du calibration).\rPuis cliquez sur le bouton 'OK'!"}},
    {115, {"Legen Sie einen Druck von -100Pa an (Kalibrieranschlüsse verwenden).\rDrücken Sie anschließend OK!", "Apply the pressure -100Pa (use calibration ports).\rThen click the button 'OK'!", "Employez la pression -100Pa (utilisez la connexion du calibration).\rPuis cliquez sur le bouton 'OK'!"}},
    {116, {"Abbrechen", "Cancel", "Annuler"}},
    {117, {"Kalibrierung läuft ...", "Re-Calibration is running ...", "Re-Calibration est en marche ..."}},
    {118, {"Kalibrierung abgeschlossen.", "Re-Calibration finished.", "Re-Calibration terminé."}},
    {119, {"Bei dieser Gerätevariante ist eine Kalibrierung nicht möglich!", "For this device variant a re-calibration is not supported!", "Pour cette variante d'équipement un re-calibration n'est pas possible!"}},
    {120, {"Momentan läuft eine Nullierung, Kalibrierung fehlgeschlagen!", "Currently a zero-point calibration is running; Re-Calibration failed!", "Actuellement un zero calibration est en marche; Re-Calibration échoué!"}},
    {121, {"Druckmessung außerhalb der zulässigen Bandbreite, Kalibrierung fehlgeschlagen!", "Pressure measurement outside of the valid range; Re-Calibration failed!", "Mesurage de la pression en dehors du domaine autorisé; Re-Calibration échoué!"}},
    {122, {"Kalibrierung erfolgreich abgeschlossen.", "Re-Calibration finished successfully.", "Re-Calibration terminé avec succès."}},
    {123, {"Kalibrierung fehlgeschlagen!", "Re-Calibration failed!", "Re-Calibration échoué!"}},
    {124, {"Kalibr. löschen", "Undo Re-Calibr.", "Annuler Re-Calibr."}},
    {125, {"Wollen Sie die Nachkalibrierungswerte löschen?", "Do you want to reset the re-calibration values?", "Vouz voulez annuler les valeurs de re-calibration?"}},
    {126, {"Zurücksetzen der Nachkalibrierungswerte abgeschlossen.", "Resetting of the re-calibration values finished.", "Annulation des valeurs de re-calibration terminée."}},
    {127, {"Zurücksetzen der Nachkalibrierungswerte erfolgreich abgeschlossen.", "Resetting of the re-calibration values finished successfully.", "Annulation des valeurs de re-calibration terminée avec succès."}},
    {128, {"Zurücksetzen der Nachkalibrierungswerte fehlgeschlagen.", "Resetting of the re-calibration values failed.", "Annulation des valeurs de re-calibration échoué."}},
    {129, {"Zurücksetzen der Nachkalibrierungswerte läuft ...", "Resetting of the re-calibration is running ...", "Annulation des valeurs de re-calibration est en marche ..."}},
    {130, {"Kalibrierung abgebrochen.", "Re-Calibration aborted.", "Re-Calibration abandoné."}},
    {131, {"\rBitte entfernen Sie jetzt die Schläuche und drücken Sie anschließend OK.", "\rPlease now remove the hoses. Then confirm by clicking the button 'OK'.", "\rRetirez les boyaux maintenant, s.v.p. Puis cliquez sur le bouton 'OK'!"}},
    {132, {"Kalibrierung erfolgreich abgebrochen.", "Re-Calibration aborted successfully.", "Re-Calibration abandoné avec succès."}},
    {133, {"Umschaltung der Druckanschlüsse läuft ...", "Changing the terminals is running ...", "Changer les connexions est en marche ..."}},
    {134, {"\rMit OK beenden.", "\rClick the button 'OK' to exit.", "\rCliquez sur le bouton 'OK' pour quitter!"}},
    {135, {"Momentan läuft keine Kalibrierung.", "Currently no re-calibration is running.", "Maintenant aucun re-calibration est en marche ..."}},
    // The tool's own texts, beyond the original catalogue. Followed by the setting's name.
    {136, {"Dieser Wert enthält ein Steuerzeichen (etwa einen Zeilenumbruch) und wird nicht gesendet; es wurde nichts übertragen:", "This value holds a control character (a line break, for instance) and is not sent; nothing was transferred:", "Cette valeur contient un caractère de contrôle (un saut de ligne, par exemple) et n'est pas envoyée ; rien n'a été transféré :"}},
};

const Entry *find(int entry)
{
    for (const Entry &e : kEntries) {
        if (e.number == entry)
            return &e;
    }
    return nullptr;
}

} // namespace

QString MessageCatalogue::text(int entry, int language)
{
    const Entry *e = find(entry);
    if (!e)
        return QString();
    const int lang = (language >= 0 && language <= 2) ? language : 0;
    return QString::fromUtf8(e->texts[static_cast<size_t>(lang)]);
}

bool MessageCatalogue::hasEntry(int entry) { return find(entry) != nullptr; }

bool MessageCatalogue::matchesAnyLanguage(int entry, const QString &candidate)
{
    for (int lang = 0; lang < 3; ++lang) {
        if (text(entry, lang) == candidate)
            return true;
    }
    return false;
}

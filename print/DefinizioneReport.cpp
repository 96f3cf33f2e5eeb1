#include "print/DefinizioneReport.h"

#include "print/StPtqGrid.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

// The template, in the report engine's project format. "→" stands for a tab; «name» is a value
// filled in for each file. Blocks used more than once are separate texts.

const char* const ModelloFile = R"~(
[List description]
[Description]
 Text=? (default)
 FileVersion=6
 Units=SCM-Units
 Metric=0
 TextQuote.Start=1
 TextQuote.End=1
 RepresentationCode.CondStart=171
 RepresentationCode.CondSep=166
 RepresentationCode.CondEnd=187
 RepresentationCode.Tab=247
 RepresentationCode.Ret=182
 RepresentationCode.PhantomSpace=2
 RepresentationCode.LockNextChar=3
 RepresentationCode.ExprSep=164
 LCID=16
[Layout]
 P1.Template=
 P2.Template=
 xOffset=0
 yOffset=0
 xSize=«xpagina»
 ySize=«ypagina»
 P1.xOffset=0
 P1.yOffset=0
 P1.xSize=«xpagina»
 P1.ySize=«ypagina»
 P2.xOffset=0
 P2.yOffset=0
 P2.xSize=«xpagina»
 P2.ySize=«ypagina»
 P1.nPaperFormat=9
 P1.xPaperSize=«xpagina»
 P1.yPaperSize=«ypagina»
 P1.ForcePaperFormat=TRUE
 P2.nPaperFormat=9
 P2.xPaperSize=«xpagina»
 P2.yPaperSize=«ypagina»
 P2.ForcePaperFormat=TRUE
 xGrid=1000
 yGrid=1000
 GridShow=FALSE
 GridSnap=FALSE
 PhysicalPage=TRUE
 P1.PhysicalPage=TRUE
 P2.PhysicalPage=TRUE
 Orientation=«orientamento»
 P1.Orientation=«orientamento»
 P2.Orientation=«orientamento»
 EnhancedExpressions=TRUE
 EnhancedOldExpressions=FALSE
 Decimals=2
 DefFont={(0,0,0),12,-16,0,0,0,400,0,0,0,0,4,0,5,0,Arial}
 HelpLines.Horizontal=
 HelpLines.Vertical=
 PDF.MaxOutlineDepth=2
 DefaultSize.Objecttype1=(0,0,76500,6000)
 DefaultSize.Objecttype6=(0,0,«ltabella»,«atabella»)
 ObjectCount=«oggetti»
[UserSection]
[SumVariables]
[Layer]
 Name=Base
 Condition=
 WorkspaceColor=(0,0,0)
 Visible=TRUE
 LayerID=0
[Object]
 ObjectID=6
 ObjectName=Table
 Locked=FALSE
 LinkID=3
 LinkToID=0
 LinkMode=32
 LinkTest=«linktabella»
 LayerID=0
 GroupID=0
 Identifier=
 Condition=True
 UserLocked=False
 WrapBefore=False
 Position/Left=7300
 Position/Top=21200
 Position/Width=«ltabella»
 Position/Height=«atabella»
 Direction=0
 bFooterOnBottom=False
 bFillBottom=False
 DefaultFont={(0,0,0),10,-13,0,0,0,400,0,0,0,0,3,2,1,34,Arial}
 FgColor=RGB(0,0,0)
 bFill=False
 BkColor=RGB(255,255,255)
 [@Tables]
  {
  [Tables]
   {
   [Table]
→{
→TableID=
→RelationID=
→[GroupHeaderLines]
→ {
→ bConcatDataLines=True
→ }
→[GroupFooterLines]
→ {
→ bAlsoOnEmptyGroup=False
→ }
→[DataLines]
→ {
→ bKeepTogether=True
→ bSuppress=False
→ bForceSumCalculation=False
→ }
→ZebraPattern=False
→[ZebraPattern]
→ {
→ Color=RGB(0,0,0)
→ Pattern=6
→ }
→[FooterLines]
→ {
→ bKeepTogether=False
→ }
→PageBreakCondition=False
→[DefaultFrame]
→ {
→ Layout=1
«cornice»
→ }
→[Body]
→ {
→ [Options]
→  {
→  }
→ [Lines]
→  {
→  [Line]
→   {
→   LineID=0
→   [Columns]
→→{
→→Columns=«n»
«colonnecorpo»
«codariga»
→[Header]
→ {
→ [Options]
→  {
→  }
→ [Lines]
→  {
→  [Line]
→   {
→   LineID=0
→   [Columns]
→→{
→→Columns=«n»
«colonnetestata»
«codariga»
→[Footer]
→ {
→ }
→[GroupHeader]
→ {
→ }
→[GroupFooter]
→ {
→ }
→}
   }
  }
[Object]
 ObjectID=1
 ObjectName=Text
 Locked=FALSE
 LinkID=5
 LinkToID=0
 LinkMode=32
 LinkTest=«linkintestazione»
 LayerID=0
 GroupID=0
 Identifier=
 Condition=True
 UserLocked=False
 WrapBefore=False
 Position/Left=7400
 Position/Top=7700
 Position/Width=«lintestazione»
 Position/Height=10400
 Direction=0
 bFill=False
 BkColor=RGB(0,0,0)
 Frame/Layout=0
 Frame/Left/Line=False
 Frame/Top/Line=False
 Frame/Right/Line=False
 Frame/Bottom/Line=False
 bPageWrap=False
 bBottomAligned=False
 [@Lines]
  {
  [Lines]
   {
   [Line]
→{
«fonttesto»
→Align=«halign»
→Adjusted=False
→Uneraseable=False
→LineWrap=«hwrap»
→PageWrapAllowed=True
→SpaceOptimization=True
→Spacing.Paragraph=1
→Spacing.Line=0
→OutputFormatter=
→Text="«riga1»"
→Tab=0
→TabAlign=0
→}
   [Line]
→{
«fonttesto»
→Align=«halign»
→Adjusted=False
→Uneraseable=False
→LineWrap=«hwrap»
→PageWrapAllowed=True
→SpaceOptimization=True
→Spacing.Paragraph=0
→Spacing.Line=0
→OutputFormatter=
→Text="«riga2»"
→Tab=0
→TabAlign=0
→}
   }
  }
[Object]
 ObjectID=1
 ObjectName=Text
 Locked=FALSE
 LinkID=16
 LinkToID=0
 LinkMode=32
 LinkTest=«linkpagine»
 LayerID=0
 GroupID=0
 Identifier=
 Condition=«cond»
 UserLocked=False
 WrapBefore=False
 Position/Left=«xpagine»
 Position/Top=«ypagine»
 Position/Width=76500
 Position/Height=6000
 Direction=0
 bFill=False
 BkColor=RGB(0,0,0)
 Frame/Layout=0
 Frame/Left/Line=False
 Frame/Top/Line=False
 Frame/Right/Line=False
 Frame/Bottom/Line=False
 bPageWrap=False
 bBottomAligned=False
 [@Lines]
  {
  [Lines]
   {
   [Line]
→{
«fonttesto»
→Align=2
→Adjusted=False
→Uneraseable=False
→LineWrap=1
→PageWrapAllowed=True
→SpaceOptimization=True
→Spacing.Paragraph=0
→Spacing.Line=0
→OutputFormatter=
→Text="Pag. "+Page$()+" di "+TotalPages$()
→Tab=0
→TabAlign=0
→}
   }
  }
[UserVariables]
[Parameters]
 [@Parameters]
  {
  [Parameters]
   {
   }
  }
)~";

// One side of the table's default frame.
const char* const ModelloLatoTabella = R"~(
→ [«side»]
→  {
→  Spacing=«spacing»
→  Line=True
→  [Line]
→   {
→   Color=RGB(0,0,0)
→   LineType=0
→   }
→  LineWidth=0
→  }
)~";

// One side of a column's frame.
const char* const ModelloLatoColonna = R"~(
→→  [«side»]
→→   {
→→   Spacing=«spacing»
→→   Line=True
→→   [Line]
→→→{
→→→Color=RGB(0,0,0)
→→→LineType=0
→→→}
→→   LineWidth=0
→→   }
)~";

// One printed column; the body and the header differ in «align» and «text».
const char* const ModelloColonna = R"~(
→→[Column]
→→ {
→→ Width=«width»
→→ Height=10000
→→ bIsotropic=True
→→ PlainTextFormat=True
→→ Align=«align»
→→ AlignDecPosition=-10000
→→ VAlign=0
→→ Adjusted=False
→→ LineWrap=«wrap»
→→ bFill=False
→→ BkColor=RGB(224,224,224)
→→ Raster=1
→→ FgColor=RGB(0,0,0)
→→ SpaceOptimization=True
→→ Link.URL=
→→ WithText=False
→→ [Frame]
→→  {
→→  Default=True
→→  Layout=1
«cornice»
→→  }
→→ [Font]
→→  {
→→  Default=False
→→  FaceName="Arial"
→→  GdiCharSet=0
→→  Size=«size»
→→  Width=0
→→  Bold=False
→→  Italic=False
→→  Underline=False
→→  Strikeout=False
→→  Color=RGB(0,0,0)
→→  PitchAndFamily=34
→→  OutPrecision=3
→→  }
→→ OutputFormatter=
→→ Direction=0
→→ Text=«text»
→→ }
)~";

// Closes a column list, after the body line and after the header line alike.
const char* const ModelloCodaRiga = R"~(
→→}
→   [Options]
→→{
→→[Frame0]
→→ {
→→ SpaceOut=0
→→ }
→→[Frame1]
→→ {
→→ SpaceOut=0
→→ }
→→[Frame2]
→→ {
→→ SpaceOut=0
→→ }
→→[Frame3]
→→ {
→→ SpaceOut=0
→→ }
→→LFont=default
→→LCondition=
→→IgnoreEmpty=TRUE
→→Description=Line Definition  1
→→DisplayInDesigner=TRUE
→→}
→   }
→  }
→ }
)~";

// The font of each line of the two text objects.
const char* const ModelloFontTesto = R"~(
→[Font]
→ {
→ Default=True
→ FaceName="Arial"
→ GdiCharSet=0
→ Size=12
→ Width=0
→ Bold=False
→ Italic=False
→ Underline=False
→ Strikeout=False
→ Color=RGB(0,0,0)
→ PitchAndFamily=0
→ OutPrecision=4
→ }
)~";

using TValori = std::initializer_list<std::pair<const char*, QString>>;

// Appends `modello` to `out` with each «name» given in `valori` replaced by its value; the others
// stay as they are. Values are not scanned again.
void Espandi(QString& out, QStringView modello, TValori valori) {
    qsizetype da = 0;
    for (;;) {
        const qsizetype apertura = modello.indexOf(u'«', da);
        if (apertura < 0) break;
        const qsizetype chiusura = modello.indexOf(u'»', apertura);
        const QStringView nome = modello.mid(apertura + 1, chiusura - apertura - 1);
        const auto valore = std::find_if(valori.begin(), valori.end(),
                                         [&nome](const auto& v) { return nome == QLatin1String(v.first); });
        if (valore != valori.end()) {
            out += modello.mid(da, apertura - da);
            out += valore->second;
        } else {
            out += modello.mid(da, chiusura + 1 - da);
        }
        da = chiusura + 1;
    }
    out += modello.mid(da);
}

// A template with its tabs and CR LF line ends (the leading line break of the literal dropped).
// A placeholder alone on its line stands for whole lines: its own line break goes.
QString Testo(const char* modello) {
    QString testo = QString::fromUtf8(modello + 1);
    testo.replace(u'→', u'\t');
    testo.replace(QRegularExpression(QStringLiteral("^(«[a-z]+»)\n"), QRegularExpression::MultilineOption),
                  QStringLiteral("\\1"));
    testo.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return testo;
}

// The four sides of a frame.
QString Cornice(const char* lato) {
    const QString modello = Testo(lato);
    QString cornice;
    Espandi(cornice, modello, {{"side", QStringLiteral("Left")}, {"spacing", QStringLiteral("1000")}});
    Espandi(cornice, modello, {{"side", QStringLiteral("Top")}, {"spacing", QStringLiteral("500")}});
    Espandi(cornice, modello, {{"side", QStringLiteral("Right")}, {"spacing", QStringLiteral("1000")}});
    Espandi(cornice, modello, {{"side", QStringLiteral("Bottom")}, {"spacing", QStringLiteral("500")}});
    return cornice;
}

// The whole-file and column templates with their fixed blocks in place, prepared once; the
// values of each file are filled in afterwards.
struct TModelli {
    QString File;
    QString Colonna;
    TModelli() {
        Espandi(File, Testo(ModelloFile),
                {{"cornice", Cornice(ModelloLatoTabella)}, {"codariga", Testo(ModelloCodaRiga)},
                 {"fonttesto", Testo(ModelloFontTesto)}});
        Espandi(Colonna, Testo(ModelloColonna), {{"cornice", Cornice(ModelloLatoColonna)}});
    }
};

const TModelli& Modelli() {
    static const TModelli modelli;
    return modelli;
}

// What portrait and landscape pages differ in.
struct TPagina {
    int LarghezzaStampabile;
    int XPagina;
    int YPagina;
    int Orientamento;
    int LarghezzaTabella;
    int AltezzaTabella;
    int Oggetti;
    int LinkTabella;
    int AllineamentoTestata;
    int LinkIntestazione;
    int LarghezzaIntestazione;
    int LinkPagine;
    int XPagine;
    int YPagine;
};

const TPagina Verticale{LarghezzaStampabileVerticale, 210000, 296900, 1, 195000, 257600, 2, -27934, 1, -13081, 194900,
                        -29119, 125300, 282500};
const TPagina Orizzontale{LarghezzaStampabileOrizzontale, 296900, 210000, 2, 282600, 173200, 3, -17025, 0, -21085, 282500,
                          -19101, 213300, 197500};

// One column list: a COLUMN block for each of the first `n` layout rows.
QString ListaColonne(const TPtqGridStampa& stampa, const TPagina& pagina, int n, const QVector<TColonnaLayout>& righe,
                     bool testata) {
    const QString allineamento = QString::number(testata ? pagina.AllineamentoTestata : 0);
    const QString dimensione = QString::number(stampa.DimensioneFontDati);
    QString lista;
    int i = 0;
    int somma = 0;
    for (const TColonnaLayout& riga : righe) {
        ++i;
        if (i > n) break;
        const bool ultima = i == n;
        const int w = ultima && stampa.FlagForzaUltimaColonna ? pagina.LarghezzaStampabile - somma
                                                              : MillimetriDaPixel(riga.Larghezza);
        somma += w;
        const bool aCapo = !stampa.FlagTroncaTesti && !(ultima && stampa.FlagForzaUltimaColonna);
        Espandi(lista, Modelli().Colonna,
                {{"width", QString::number(qint64(w) * 1000)},
                 {"align", allineamento},
                 {"wrap", aCapo ? QStringLiteral("1") : QStringLiteral("0")},
                 {"size", dimensione},
                 {"text", testata ? '"' + riga.NomeColonna + '"' : riga.NomeCampo}});
    }
    return lista;
}

QString ScriviReport(const TPtqGridStampa& stampa, const TPagina& pagina, int n, const TLetturaLayout& lettura) {
    const QString corpo = ListaColonne(stampa, pagina, n, lettura(), false);
    const QString testata = ListaColonne(stampa, pagina, n, lettura(), true);
    QString testo;
    testo.reserve(Modelli().File.size() + corpo.size() + testata.size() + 256);
    auto d = [](int valore) { return QString::number(valore); };
    Espandi(testo, Modelli().File,
            {{"xpagina", d(pagina.XPagina)},
             {"ypagina", d(pagina.YPagina)},
             {"orientamento", d(pagina.Orientamento)},
             {"ltabella", d(pagina.LarghezzaTabella)},
             {"atabella", d(pagina.AltezzaTabella)},
             {"oggetti", d(pagina.Oggetti)},
             {"linktabella", d(pagina.LinkTabella)},
             {"linkintestazione", d(pagina.LinkIntestazione)},
             {"lintestazione", d(pagina.LarghezzaIntestazione)},
             {"linkpagine", d(pagina.LinkPagine)},
             {"xpagine", d(pagina.XPagine)},
             {"ypagine", d(pagina.YPagine)},
             {"n", d(n)},
             {"colonnecorpo", corpo},
             {"colonnetestata", testata},
             {"halign", d(stampa.Intestazione_Allineamento)},
             {"hwrap", stampa.FlagTroncaTesti ? QStringLiteral("0") : QStringLiteral("1")},
             {"riga1", stampa.Intestazione_Riga1},
             {"riga2", stampa.Intestazione_Riga2},
             {"cond", stampa.FlagNumeraPagine ? QStringLiteral("True") : QStringLiteral("False")}});
    return testo;
}

}  // namespace

int MillimetriDaPixel(int pixel) {
    // nearbyint rounds in the current mode, which is to nearest with halves to even.
    return int(std::nearbyint(static_cast<long double>(pixel) / 3.7795L));
}

int ColonneStampate(const QVector<TColonnaLayout>& colonne, int larghezzaStampabile, bool forzaUltimaColonna) {
    int n = 0;
    int usata = 0;
    for (const TColonnaLayout& colonna : colonne) {
        const int w = MillimetriDaPixel(colonna.Larghezza);
        if (usata + w > larghezzaStampabile) {
            if (forzaUltimaColonna) ++n;
            break;
        }
        ++n;
        usata += w;
    }
    return n;
}

QString ScriviReportVerticale(const TPtqGridStampa& stampa, int n, const TLetturaLayout& lettura) {
    return ScriviReport(stampa, Verticale, n, lettura);
}

QString ScriviReportOrizzontale(const TPtqGridStampa& stampa, int n, const TLetturaLayout& lettura) {
    return ScriviReport(stampa, Orizzontale, n, lettura);
}

QString TestoReport(const TPtqGridStampa& stampa, const TLetturaLayout& lettura) {
    const bool verticale = stampa.OrientamentoPagina == "VERTICALE";
    const int larghezza = verticale ? LarghezzaStampabileVerticale : LarghezzaStampabileOrizzontale;
    const int n = ColonneStampate(lettura(), larghezza, stampa.FlagForzaUltimaColonna);
    return verticale ? ScriviReportVerticale(stampa, n, lettura) : ScriviReportOrizzontale(stampa, n, lettura);
}

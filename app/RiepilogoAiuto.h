#pragma once
// The help summary: recognised parameters of both sources and the source in use.
#include "app/Avvio.h"

QString TestoRiepilogoAiuto(const TParametri& cmd, const TParametri* ini, TOrigine origine);

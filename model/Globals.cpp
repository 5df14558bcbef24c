#include "model/Globals.h"

int g_numProt = 0;
int g_numMot = 0;
double g_aN2P = 1.0;
double g_aPos = 0.0;
double g_aNeg = 0.0;
double g_aAll = 0.0;

void ResetGlobals()
{
    g_numProt = 0;
    g_numMot = 0;
    g_aN2P = 1.0;
    g_aPos = 0.0;
    g_aNeg = 0.0;
    g_aAll = 0.0;
}

#include "model/Globals.h"

double g_aPos = 0.0;
double g_aNeg = 0.0;
double g_aAll = 0.0;

void SetPriors(double aPos, double n2p)
{
    g_aPos = aPos;
    g_aNeg = n2p * g_aPos;
    g_aAll = g_aNeg + g_aPos;
}

void ResetGlobals()
{
    g_aPos = 0.0;
    g_aNeg = 0.0;
    g_aAll = 0.0;
}

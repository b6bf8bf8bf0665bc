// Single-line texts (bar descriptions, dimension texts) and the text styles they use.
#pragma once

#include <string>

#include "module/entities/sds_base.h"

class CSDSText : public CSDSBaseClass {
  public:
    CSDSText() = default;
    CSDSText(const CSDSText& other) : CSDSBaseClass(other) {}
    CSDSText& operator=(const CSDSText& other);
    ~CSDSText() override;

    int Create(const std::string& text, const sds_point insertion, double height, double rotation,
               const std::string& style, int generationFlags, int horizontalJustification,
               const sds_point alignment, int verticalJustification, const std::string& layer,
               int colour);
    // Text of the first group 1, "" when the entity cannot be read or has none.
    static std::string GetString(const sds_name entity);
    // The host's answer to the change; the previous `status` when the entity has no text.
    int SetString(const sds_name entity, const std::string& text);
    // Height, -1.0 when the entity cannot be read or has no height.
    static double GetHeight(const sds_name entity);
    // Insertion (10) and alignment (11) points; RTERROR when either is missing.
    static int GetPoints(const sds_name entity, sds_point insertion, sds_point alignment);
    // Moves both points; the host's answer, RTERROR when either is missing.
    int SetPoints(const sds_name entity, const sds_point insertion, const sds_point alignment);

    // Texts keep the list they build in a field of their own.
    resbuf* textList = nullptr;

  private:
    void ReleaseTextList();
};

class CSDSTextStyle : public CSDSBaseClass {
  public:
    // RTNORM without any change when the style exists already.
    int Create(const std::string& name, double height, double widthFactor, double obliqueAngle,
               int generationFlags, double lastHeight, const std::string& fontFile,
               const std::string& bigFontFile);
    static bool Exists(const std::string& name);
};
